#include "windows/predefined_classes.h"

namespace platform {

void registerPredefinedClasses() {
    registerListBoxClass();
    registerMdiClientClass();
    registerDialogClasses();
    registerControlClasses();
    registerEditClass();
    registerTabControlClass();
}

}  // namespace platform
