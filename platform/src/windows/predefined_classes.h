// The window classes that the system provides, registered on first use.
#ifndef ZARN_PLATFORM_PREDEFINED_CLASSES_H
#define ZARN_PLATFORM_PREDEFINED_CLASSES_H

namespace platform {

// Registers all of the classes below: the window tree calls it before it
// first looks a class up.
void registerPredefinedClasses();

void registerListBoxClass();
void registerMdiClientClass();
void registerDialogClasses();
void registerControlClasses();
void registerEditClass();
void registerTabControlClass();

}  // namespace platform

#endif
