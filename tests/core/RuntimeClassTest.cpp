#include <gtest/gtest.h>

#include <memory>

#include "platform/core/RuntimeClass.h"

namespace {

class Widget : public CObject {
public:
    const CRuntimeClass* GetRuntimeClass() const override { return CRuntimeClass::FromName("TestWidget"); }
    int value = 42;
};

}  // namespace

TEST(RuntimeClass, ClassesAreFoundByNameAndCreatedDynamically) {
    const CRuntimeClass* cls = RegisterDynamicClass<Widget>("TestWidget");
    ASSERT_EQ(CRuntimeClass::FromName("TestWidget"), cls);
    EXPECT_STREQ(cls->m_lpszClassName, "TestWidget");
    std::unique_ptr<CObject> object(cls->CreateObject());
    auto* widget = dynamic_cast<Widget*>(object.get());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->value, 42);
    EXPECT_TRUE(object->IsKindOf(cls));

    CRuntimeClass::Unregister("TestWidget");
    EXPECT_EQ(CRuntimeClass::FromName("TestWidget"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
}
