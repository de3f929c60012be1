#include "LinkLibrary.h"
