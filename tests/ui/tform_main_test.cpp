#include <gtest/gtest.h>

#include "ui/tform_main.h"

TEST(TformMainFrame, HasItsCaption) {
  TformMain form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Конфигуратор ULM5"));
}
