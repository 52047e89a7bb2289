// A function's screen that reaches into the main window's folder: the link
// check must refuse it.
#include "app/OperatorRegister.h"
