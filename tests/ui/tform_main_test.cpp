#include <gtest/gtest.h>

#include "ui/tform_main.h"
