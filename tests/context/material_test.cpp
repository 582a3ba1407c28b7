// The material setter.
#include "context_fixture.h"
#include "pipeline/lighting.h"

namespace {

TEST(AttributeSetters, MaterialAlphaIsClamped) {
  TestContext c(rgb32Screen(), 2, 2);
  const std::pair<uint32_t, uint32_t> cases[] = {{300, 255}, {0xFFFFFFFFu, 255}, {254, 254}, {255, 255}, {0, 0}};
  for (const auto& [alpha, stored] : cases) {
    EXPECT_EQ(setMaterial(c.context, 0x010203, 0x040506, 0x070809, 0x0A0B0C, 12.5f, alpha), RUK_OK);
    EXPECT_EQ(c->material.alpha, stored) << alpha;
  }
  EXPECT_EQ(c->material.emission, 0x010203u);
  EXPECT_EQ(c->material.ambient, 0x040506u);
  EXPECT_EQ(c->material.diffuse, 0x070809u);
  EXPECT_EQ(c->material.specular, 0x0A0B0Cu);
  EXPECT_EQ(c->material.shininess, 12.5f);
}

}  // namespace
