// A rule that reaches up into the program: the layer check must refuse it.
#include "app/app.h"
#include "render/draw.h"
