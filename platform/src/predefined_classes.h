// The window classes that the system provides, registered on first use.
#ifndef ZARN_PLATFORM_PREDEFINED_CLASSES_H
#define ZARN_PLATFORM_PREDEFINED_CLASSES_H

namespace platform {

void registerListBoxClass();
void registerMdiClientClass();
void registerDialogClasses();
void registerControlClasses();
void registerEditClass();
void registerTabControlClass();

}  // namespace platform

#endif
