// html5.h's names are in the one stand-in.
#pragma once
#include "../emscripten.h"
