#include "platform/base/date.h"
