// The attribute setters, their flavours, and the message buffer.
#include <string>

#include "context_fixture.h"

namespace {

TEST(AttributeSetters, FlavoursStoreTheirWords) {
  TestContext c(rgb32Screen(), 2, 2);
  EXPECT_EQ(setAttributeColor(c.context, ATTR_CLEAR_COLOR, 0xFF123456u), RUK_OK);
  EXPECT_EQ(c->attributes[ATTR_CLEAR_COLOR], 0x00123456u);
  EXPECT_EQ(setAttributeInt(c.context, ATTR_FOG_MODE, -1), RUK_OK);
  EXPECT_EQ(c->attributes[ATTR_FOG_MODE], 0xFFFFFFFFu);
  EXPECT_EQ(setAttributeEnum(c.context, ATTR_RENDER_MODE, 0xDEADBEEFu), RUK_OK);
  EXPECT_EQ(c->attributes[ATTR_RENDER_MODE], 0xDEADBEEFu);
  EXPECT_EQ(setAttributeFloat(c.context, ATTR_FOG_START, -2.5f), RUK_OK);
  EXPECT_EQ(c->attributes[ATTR_FOG_START], 0xC0200000u);
  EXPECT_EQ(attributeFloat(c.context, ATTR_FOG_START), -2.5f);
}

TEST(AttributeSetters, IdsBeyondTheTableAreRefused) {
  TestContext c(rgb32Screen(), 2, 2);
  EXPECT_EQ(setAttributeInt(c.context, ATTRIBUTE_COUNT, 7), RUK_ERR_BAD_ARGUMENT);
  EXPECT_EQ(setAttributeFloat(c.context, 0xFFFFFFFFu, 1.0f), RUK_ERR_BAD_ARGUMENT);
  EXPECT_EQ(setAttributeColor(c.context, 1000, 1), RUK_ERR_BAD_ARGUMENT);
  EXPECT_EQ(setAttributeEnum(c.context, 39, 1), RUK_ERR_BAD_ARGUMENT);
  EXPECT_EQ(attributeFloat(c.context, 38), 0.0f);
}

TEST(ErrorMessage, LongTextIsCutTo255Bytes) {
  TestContext c(rgb32Screen(), 2, 2);
  std::string text(300, 'x');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  recordError(c.context, text.c_str());
  EXPECT_EQ(std::string(errorMessageOf(c.context)), text.substr(0, 255));
  EXPECT_EQ(errorMessageOf(c.context), c->errorMessage);
  EXPECT_EQ(c->errorMessage[255], '\0');
}

TEST(ErrorMessage, ExactlyTheBufferIsCutToo) {
  TestContext c(rgb32Screen(), 2, 2);
  recordError(c.context, std::string(256, 'q').c_str());
  EXPECT_EQ(std::string(errorMessageOf(c.context)), std::string(255, 'q'));
  recordError(c.context, "Bad model type");
  EXPECT_STREQ(errorMessageOf(c.context), "Bad model type");
}

}  // namespace
