#include "runtime/Version.h"
