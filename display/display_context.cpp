#include "display/display_context.h"

DisplayContext displayContext = { NULL, NULL, NULL, NULL, 0 };
ImageSlot imageTable[IMAGE_TABLE_SIZE];
