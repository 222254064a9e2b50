#include <tessiv/scene/tree.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kolt::Tree;

namespace {

using Log = std::vector<std::string>;

// A tree node that records its visits and its destruction in a shared log.
class Probe : public Tree {
public:
    Probe(std::string name, Log *log) : name_(std::move(name)), log_(log) {}
    Probe(Probe const &) = default;
    ~Probe() override { log_->push_back("~" + name_); }
    Tree *NewChild() override { return Add(name_ + "+"); }
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
    Log *log_;
};

std::vector<Tree *> Children(Tree const &t)
{
    std::vector<Tree *> out;
    for (int i = 0; i < t.GetChildCount(); ++i)
        out.push_back(t.GetChild(i));
    return out;
}

TEST(TreeTest, DeletingKeepsOrderAndDestroysSubtreesDepthFirst)
{
    Log log;
    {
        Probe root("root", &log), stranger("x", &log);
        EXPECT_EQ(root.GetChildIndex(&stranger), 0) << "no children: the count";
        root.Add("A")->Add("A1");
        root.Add("B");
        Probe *c = root.Add("C");
        root.Add("D");
        EXPECT_EQ(root.GetChildIndex(&stranger), 4);

        root.DeleteChild(1);
        EXPECT_EQ(log, (Log{"~B"}));
        EXPECT_EQ(root.GetChildIndex(c), 1) << "later slots move down";
        root.DeleteChild(c);
        EXPECT_EQ(Children(root).size(), 2u);
        log.clear();
    }
    EXPECT_EQ(log, (Log{"~x", "~root", "~A", "~A1", "~D"})) << "children in index order, each with its own first";
}

TEST(TreeTest, ChangeParentMovesTheNodeLastAndRecursionIsPreOrder)
{
    Log log;
    Probe p1("P1", &log), p2("P2", &log);
    Probe *a = p1.Add("A");
    Probe *b = p1.Add("B");
    Probe *c = p1.Add("C");
    Probe *d = p2.Add("D");
    b->ChangeParent(&p2);
    EXPECT_EQ(Children(p1), (std::vector<Tree *>{a, c}));
    EXPECT_EQ(Children(p2), (std::vector<Tree *>{d, b}));
    EXPECT_EQ(b->GetParent(), &p2);
    a->ChangeParent(&p1);
    EXPECT_EQ(Children(p1), (std::vector<Tree *>{c, a})) << "the same parent moves it last";

    c->Add("C1");
    p1.Recursion(7);
    EXPECT_EQ(log, (Log{"P1:7", "C:7", "C1:7", "A:7"}));
}

TEST(TreeTest, RecursionOverADeepChainDoesNotExhaustTheStack)
{
    Log log;
    Probe root("root", &log);
    Tree *tip = &root;
    for (int i = 0; i < 200000; ++i)
        tip = static_cast<Probe *>(tip)->Add("n");
    root.Recursion(1);
    EXPECT_EQ(log.size(), 200001u);
    while (tip != &root) {  // unlink bottom-up so destruction stays shallow too
        Tree *up = tip->GetParent();
        up->DeleteChild(0);
        tip = up;
    }
}

TEST(TreeTest, CopiesNameTheSameChildrenButDeleteOnlyTheirOwn)
{
    Log log;
    Probe parent("P", &log);
    Probe *source = parent.Add("src");
    Probe *a = source->Add("A");
    Probe *b = source->Add("B");

    auto *copy = new Probe(*source);
    EXPECT_EQ(Children(*copy), (std::vector<Tree *>{a, b}));
    EXPECT_EQ(copy->GetParent(), &parent);
    EXPECT_EQ(parent.GetChildCount(), 1) << "the parent's list does not gain the copy";
    copy->DeleteChild(0);
    copy->NewChild();
    Probe elsewhere("E", &log);
    copy->ChangeParent(&elsewhere);
    EXPECT_EQ(Children(parent), (std::vector<Tree *>{source})) << "moving a copy leaves its source in place";
    elsewhere.ClearChildren();  // the copy is deleted with elsewhere's list
    EXPECT_EQ(log, (Log{"~src", "~src+"})) << "only the child added to the copy is deleted";

    // The copy outlives its source without touching the deleted children.
    Probe view(*source);
    log.clear();
    parent.DeleteChild(source);
    EXPECT_EQ(log, (Log{"~src", "~A", "~B"}));
}

TEST(TreeTest, AssignmentDeletesWhatTheTargetOwnedUnlessNamedAgain)
{
    Log log;
    Probe target("T", &log), other("O", &log);
    target.Add("kept");
    target.Add("dropped");
    Probe *o1 = other.Add("O1");

    Probe snapshot(target);
    target.DeleteChild(1);
    log.clear();
    target = snapshot;  // restoring a snapshot of its own children
    EXPECT_TRUE(log.empty()) << "nothing the snapshot names is deleted";
    target.DeleteChild(1);  // the stale pointer is borrowed: forgotten, not deleted again
    EXPECT_TRUE(log.empty());

    target = other;
    EXPECT_EQ(log, (Log{"~kept"})) << "what only the target owned is deleted";
    EXPECT_EQ(Children(target), (std::vector<Tree *>{o1}));
    snapshot.ClearChildren();
}

}  // namespace
