#pragma once

#include "platform/desktop/drag_operation.h"
