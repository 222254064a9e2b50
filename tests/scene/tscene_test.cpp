#include <tessiv/scene/tscene.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kolt::TScene;

namespace {

std::vector<std::string> destroyed;

// Records its name in destroyed when it is deleted.
template <class Base>
class Recorded : public Base {
public:
    explicit Recorded(std::string name) : name_(std::move(name)) {}
    ~Recorded() override { destroyed.push_back(name_); }

private:
    std::string name_;
};

class Solid : public Recorded<kolt::CGeomEntity> {
public:
    using Recorded::Recorded;
    unsigned long ClassID() const override { return 1; }
    kolt::BaseObject *Clone() const override { return new Solid(*this); }
    bool Save(kolt::CStreamO &) override { return true; }
    bool Load(kolt::CStreamI &) override { return true; }
};

using Tag = Recorded<kolt::NodeProperty>;

TEST(TSceneTest, IndexHandlesStartAtZeroAndCloseUpAfterDeletes)
{
    TScene scene;
    EXPECT_EQ(scene.GetTexture(0), nullptr) << "empty scene";
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(scene.CreateTexture(), i);
        scene.GetTexture(i)->SetTextureID(10 + i);
    }
    EXPECT_EQ(scene.GetTexture(3), nullptr);
    EXPECT_TRUE(scene.GetTexture(0)->UseMipMap());
    scene.DeleteTexture(0);
    EXPECT_EQ(scene.GetTexture(0)->GetTextureID(), 11u);
    EXPECT_EQ(scene.GetTexture(1)->GetTextureID(), 12u);

    destroyed.clear();
    EXPECT_EQ(scene.AddObject(new Solid("a")), 0);
    kolt::CGeomEntity *b = new Solid("b");
    EXPECT_EQ(scene.AddObject(b), 1);
    scene.DeleteObject(0);
    EXPECT_EQ(scene.GetObject(0), b);
    EXPECT_EQ(scene.AddProperty(new Tag("p")), 0);
    EXPECT_EQ(scene.AddProperty(nullptr), 1) << "null entries are kept and skipped";
    scene.DeleteProperty(1);
    EXPECT_EQ(scene.GetPropertyCount(), 1u);
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a"}));
}

TEST(TSceneTest, ClearKeepsTheInfoListsAndDestructionEmptiesEverything)
{
    destroyed.clear();
    {
        TScene scene;
        scene.NewChild();
        scene.CreateTexture();
        scene.AddObject(new Solid("o"));
        scene.AddProperty(new Tag("p"));
        scene.GetInfo(2).push_back(42);
        scene.Clear();
        EXPECT_EQ(scene.GetChildCount(), 0);
        EXPECT_EQ(scene.GetTextureCount(), 0u);
        EXPECT_EQ(destroyed, (std::vector<std::string>{"o", "p"})) << "objects before properties";
        EXPECT_EQ(scene.GetInfo(2).size(), 1u);
        scene.AddObject(new Solid("last"));
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"o", "p", "last"}));
}

TEST(TSceneTest, CopiesShareTheListsAndNeverDeleteWhatTheyBorrow)
{
    destroyed.clear();
    auto *scene = new TScene;
    scene->AddObject(new Solid("shared"));
    scene->CreateTexture();
    scene->NewChild();

    auto *copy = new TScene(*scene);
    EXPECT_EQ(copy->GetObject(0), scene->GetObject(0));
    EXPECT_EQ(copy->GetTexture(0), scene->GetTexture(0));
    EXPECT_EQ(copy->GetChild(0), scene->GetChild(0));
    copy->AddObject(new Solid("own"));
    copy->Clear();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"own"})) << "clearing a copy deletes only its own";
    EXPECT_EQ(scene->GetObjectCount(), 1u);

    TScene second(*scene);
    delete scene;  // the owner goes first
    EXPECT_EQ(destroyed, (std::vector<std::string>{"own", "shared"}));
    delete copy;
}

}  // namespace
