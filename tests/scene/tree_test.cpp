#include <tessiv/scene/tree.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kolt::Tree;

namespace {

// A tree node that records its visits and its destruction in a shared log.
class Probe : public Tree {
public:
    explicit Probe(std::string name, std::vector<std::string> *log) : name_(std::move(name)), log_(log) {}
    Probe(Probe const &) = default;
    ~Probe() override { log_->push_back("~" + name_); }

    Tree *NewChild() override
    {
        auto *child = new Probe(name_ + "+", log_);
        child->ChangeParent(this);
        return child;
    }

    Probe *Add(std::string const &name)
    {
        auto *child = new Probe(name, log_);
        child->ChangeParent(this);
        return child;
    }

protected:
    void OnRecursion(int n) override { log_->push_back(name_ + ":" + std::to_string(n)); }

private:
    std::string name_;
    std::vector<std::string> *log_;
};

std::vector<Tree *> Children(Tree const &t)
{
    std::vector<Tree *> out;
    for (int i = 0; i < t.GetChildCount(); ++i)
        out.push_back(t.GetChild(i));
    return out;
}

using Log = std::vector<std::string>;

TEST(TreeTest, ChildIndexIsTheFirstSlotOrTheCount)
{
    Log log;
    Probe root("root", &log), stranger("x", &log);
    EXPECT_EQ(root.GetChildIndex(&stranger), 0) << "no children: the count, 0";
    Probe *a = root.Add("A");
    Probe *b = root.Add("B");
    EXPECT_EQ(root.GetChildIndex(a), 0);
    EXPECT_EQ(root.GetChildIndex(b), 1);
    EXPECT_EQ(root.GetChildIndex(&stranger), 2);
    EXPECT_EQ(a->GetParent(), &root);
    EXPECT_EQ(root.GetParent(), nullptr);
}

TEST(TreeTest, DestructionDeletesChildrenFirstInIndexOrderDepthFirst)
{
    Log log;
    {
        Probe root("root", &log);
        Probe *a = root.Add("A");
        a->Add("A1");
        a->Add("A2");
        root.Add("B");
    }
    EXPECT_EQ(log, (Log{"~root", "~A", "~A1", "~A2", "~B"}))
        << "children go in index order, each with its own children before the next sibling";
}

TEST(TreeTest, DeleteChildRemovesTheSlotKeepingOrder)
{
    Log log;
    Probe root("root", &log);
    Probe *a = root.Add("A");
    Probe *b = root.Add("B");
    Probe *c = root.Add("C");
    root.DeleteChild(1);
    EXPECT_EQ(log, (Log{"~B"}));
    EXPECT_EQ(Children(root), (std::vector<Tree *>{a, c}));
    root.DeleteChild(c);
    EXPECT_EQ(log, (Log{"~B", "~C"}));
    EXPECT_EQ(Children(root), (std::vector<Tree *>{a}));
    (void)b;
}

TEST(TreeTest, ClearChildrenDeletesAllAndEmptiesTheList)
{
    Log log;
    Probe root("root", &log);
    root.Add("A");
    root.Add("B");
    root.ClearChildren();
    EXPECT_EQ(log, (Log{"~A", "~B"}));
    EXPECT_EQ(root.GetChildCount(), 0);
    root.Add("C");
    EXPECT_EQ(root.GetChildCount(), 1) << "the list is usable after clearing";
}

TEST(TreeTest, ChangeParentMovesTheNodeToTheEndOfTheNewList)
{
    Log log;
    Probe p1("P1", &log), p2("P2", &log);
    Probe *a = p1.Add("A");
    Probe *b = p1.Add("B");
    Probe *c = p1.Add("C");
    Probe *d = p2.Add("D");

    b->ChangeParent(&p2);
    EXPECT_EQ(Children(p1), (std::vector<Tree *>{a, c})) << "P1's other children keep their order";
    EXPECT_EQ(Children(p2), (std::vector<Tree *>{d, b}));
    EXPECT_EQ(b->GetParent(), &p2);

    a->ChangeParent(&p1);
    EXPECT_EQ(Children(p1), (std::vector<Tree *>{c, a})) << "the same parent moves it last";
    EXPECT_TRUE(log.empty()) << "moving deletes nothing";
}

TEST(TreeTest, RecursionVisitsInPreOrder)
{
    Log log;
    Probe root("root", &log);
    Probe *a = root.Add("A");
    a->Add("A1");
    root.Add("B");
    root.Recursion(7);
    EXPECT_EQ(log, (Log{"root:7", "A:7", "A1:7", "B:7"}));
}

TEST(TreeTest, RecursionOverADeepChainDoesNotRecurse)
{
    Log log;
    Probe root("root", &log);
    Probe *tip = &root;
    for (int i = 0; i < 200000; ++i) {
        auto *child = new Probe("n", &log);
        child->ChangeParent(tip);
        tip = child;
    }
    root.Recursion(1);
    EXPECT_EQ(log.size(), 200001u);
    // Unlink the chain bottom-up so destruction stays shallow too.
    while (tip != &root) {
        Tree *up = tip->GetParent();
        up->DeleteChild(0);
        tip = static_cast<Probe *>(up);
    }
}

TEST(TreeTest, NewChildAppendsAnOwnedChild)
{
    Log log;
    {
        Probe root("root", &log);
        Tree *child = root.NewChild();
        EXPECT_EQ(root.GetChild(0), child);
        EXPECT_EQ(child->GetParent(), &root);
    }
    EXPECT_EQ(log, (Log{"~root", "~root+"}));
}

TEST(TreeTest, ACopyNamesTheSameChildrenButNeverDeletesThem)
{
    Log log;
    auto *source = new Probe("src", &log);
    Probe parent("P", &log);
    source->ChangeParent(&parent);
    Probe *a = source->Add("A");
    Probe *b = source->Add("B");

    auto *copy = new Probe(*source);
    EXPECT_EQ(Children(*copy), (std::vector<Tree *>{a, b}));
    EXPECT_EQ(copy->GetParent(), &parent);
    EXPECT_EQ(parent.GetChildCount(), 1) << "the parent's list does not gain the copy";

    copy->DeleteChild(0);
    EXPECT_EQ(Children(*copy), (std::vector<Tree *>{b}));
    EXPECT_TRUE(log.empty()) << "a copy forgets a borrowed child without deleting it";

    Probe *own = copy->Add("own");
    delete copy;
    EXPECT_EQ(log, (Log{"~src", "~own"})) << "the copy deletes only the child it was given later";

    log.clear();
    parent.DeleteChild(source);
    EXPECT_EQ(log, (Log{"~src", "~A", "~B"}));
    (void)own;
}

TEST(TreeTest, ACopyOutlivingItsSourceDestroysCleanly)
{
    Log log;
    auto *source = new Probe("src", &log);
    source->Add("A");
    auto *copy = new Probe(*source);
    delete source;
    EXPECT_EQ(log, (Log{"~src", "~A"}));
    delete copy;  // must not touch the deleted child
    EXPECT_EQ(log.size(), 3u);
}

TEST(TreeTest, AssignmentDeletesWhatTheTargetOwnedUnlessNamedAgain)
{
    Log log;
    Probe target("T", &log), other("O", &log);
    Probe *kept = target.Add("kept");
    target.Add("dropped");
    Probe *o1 = other.Add("O1");

    Probe snapshot(target);
    target.DeleteChild(1);
    log.clear();
    target = snapshot;  // restoring a snapshot of its own children
    EXPECT_TRUE(log.empty()) << "nothing the snapshot names may be deleted";
    EXPECT_EQ(target.GetChildCount(), 2) << "the snapshot still names the deleted child's pointer";
    target.DeleteChild(1);  // borrowed again: forgotten, not deleted twice
    EXPECT_TRUE(log.empty());

    target = other;
    EXPECT_EQ(log, (Log{"~kept"})) << "the child only the target owned is deleted";
    EXPECT_EQ(Children(target), (std::vector<Tree *>{o1}));
    snapshot.ClearChildren();
    (void)kept;
}

}  // namespace
