#include "core/Clock.h"
#include "ui/Artwork.h"
