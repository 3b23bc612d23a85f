// The program's resources: its script, read once from the embedded files.
#ifndef ZARN_PLATFORM_RESOURCES_H
#define ZARN_PLATFORM_RESOURCES_H

#include <QIcon>

#include "resources/resource_script.h"

namespace platform {

const MenuTemplate* findMenuTemplate(LPCSTR name);
const DialogTemplate* findDialogTemplate(LPCSTR name);
QIcon iconOf(HICON icon);

}  // namespace platform

#endif
