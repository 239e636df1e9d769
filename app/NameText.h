#pragma once
// The conversions between the core's name bytes and text live with what every window
// shares.

#include "widgets/NameText.h"
