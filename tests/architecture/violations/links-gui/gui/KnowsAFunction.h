#pragma once

// A screen part of the shared folder that knows one function's store: the
// link check must refuse it.
#include "base/Owner.h"
