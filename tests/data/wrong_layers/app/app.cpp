// The program may see the game and the editor below it.
#include "editor/stage_editor.h"
#include "game/game.h"
#include "platform/services.h"
