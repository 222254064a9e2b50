#include <tessiv/platform/cobject.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/cwnd.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Shape : public CObject {
    DECLARE_DYNAMIC(Shape)
};
IMPLEMENT_DYNAMIC(Shape, CObject)

class Circle : public Shape {
    DECLARE_DYNCREATE(Circle)

public:
    static inline int constructed = 0;
    Circle() { ++constructed; }
};
IMPLEMENT_DYNCREATE(Circle, Shape)

TEST(CObjectTest, RunTimeClassesNameTheirClassAndChainToTheirBase)
{
    CRuntimeClass *circle = RUNTIME_CLASS(Circle);
    EXPECT_STREQ(circle->m_lpszClassName, "Circle");
    EXPECT_EQ(circle->m_wSchema, 0xFFFFu);
    EXPECT_EQ(circle->m_nObjectSize, static_cast<int>(sizeof(Circle)));
    EXPECT_EQ(circle->m_pfnGetBaseClass(), RUNTIME_CLASS(Shape));
    EXPECT_EQ(RUNTIME_CLASS(Shape)->m_pfnGetBaseClass(), RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pfnGetBaseClass(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CView)->m_pfnGetBaseClass(), RUNTIME_CLASS(CWnd));

    Circle object;
    CObject const &as_base = object;
    EXPECT_EQ(as_base.GetRuntimeClass(), circle) << "the virtual gives the object's own class";
    EXPECT_TRUE(as_base.IsKindOf(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(as_base.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(as_base.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(as_base.IsKindOf(nullptr));
    EXPECT_FALSE(as_base.IsSerializable());
}

TEST(CObjectTest, OnlyDynamicallyCreatableClassesMakeObjects)
{
    Circle::constructed = 0;
    std::unique_ptr<CObject> made(RUNTIME_CLASS(Circle)->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(Circle));
    EXPECT_EQ(Circle::constructed, 1) << "the default constructor ran";
    EXPECT_EQ(RUNTIME_CLASS(Shape)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CView)->CreateObject(), nullptr) << "CView is abstract";
    std::unique_ptr<CObject> window(RUNTIME_CLASS(CWnd)->CreateObject());
    EXPECT_TRUE(window && window->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
}

}  // namespace
