// Resource and command ids shared by the resource script and the front end.
#ifndef ZARN_RES_RESOURCE_H
#define ZARN_RES_RESOURCE_H

#define IDI_APPICON 101
#define IDR_MAINMENU 102
#define IDD_ABOUT 103

#define CMD_NEW 57600
#define CMD_OPEN 57601
#define CMD_CLOSE 57602
#define CMD_SAVE 57603
#define CMD_SAVE_AS 40005
#define CMD_EXIT 40001

#define CMD_UNDO 57643
#define CMD_CUT 57635
#define CMD_COPY 57634
#define CMD_PASTE 57637
#define CMD_DELETE 40011

#define CMD_RUN 40027
#define CMD_STOP 40029
#define CMD_SPEED_125MS 40035
#define CMD_SPEED_250MS 40030
#define CMD_SPEED_500MS 40031
#define CMD_SPEED_1S 40032
#define CMD_SPEED_2S 40033
#define CMD_SPEED_3S 40034
#define CMD_SAVE_OUTPUT 40037

#define CMD_TILE_HORZ 40021
#define CMD_TILE_VERT 40022
#define CMD_CASCADE 57650

#define CMD_ABOUT 40025

#endif
