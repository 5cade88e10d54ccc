// Reference counting and tree links: who holds what, when things are freed,
// and that the lists stay consistent through every operation.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/exception.h"
#include "base/ref_object.h"
#include "base/ref_ptr.h"
#include "base/tree.h"

struct CRefCountProbe {
  static std::int32_t count(const CBaseRefObject& object) { return object.refcount_.load(); }
};

namespace {

// A payload that logs its constructions and destructions by name.
struct CPayloadLog {
  int constructed = 0;
  std::vector<std::string> destroyed;
};

class CNamed {
public:
  CNamed(CPayloadLog& log, std::string name) : log_(&log), name_(std::move(name)) { ++log_->constructed; }
  CNamed(const CNamed&) = delete;
  ~CNamed() { log_->destroyed.push_back(name_); }
  const std::string& name() const { return name_; }

private:
  CPayloadLog* log_;
  std::string name_;
};

using CNode = CCommonRefObject<CNamed>;
using NodePtr = TRefPtr<CNode>;

std::int32_t countOf(const NodePtr& node) { return CRefCountProbe::count(*node); }

// The children's names, walked forwards; checks the backward walk and every
// parent link on the way.
std::string childNames(const NodePtr& parent) {
  std::vector<const CNode*> forward;
  for (NodePtr child = parent->firstChild(); child; child = child->nextSibling()) {
    EXPECT_EQ(child->parentNode(), parent.get());
    forward.push_back(child.get());
  }
  std::vector<const CNode*> backward;
  for (NodePtr child = parent->lastChild(); child; child = child->prevSibling()) {
    backward.insert(backward.begin(), child.get());
  }
  EXPECT_EQ(forward, backward);
  std::string names;
  for (const CNode* child : forward) {
    names += (names.empty() ? "" : ",") + child->name();
  }
  return names;
}

void expectRoot(const NodePtr& node) {
  EXPECT_FALSE(node->parent());
  EXPECT_FALSE(node->prevSibling());
  EXPECT_FALSE(node->nextSibling());
}

class TreeTest : public ::testing::Test {
protected:
  NodePtr node(const char* name) { return makeRef<CNode>(log, name); }
  // parent with children named by the letters of names
  NodePtr family(const char* parentName, const std::string& names) {
    NodePtr parent = node(parentName);
    for (char c : names) {
      CNode::appendChild(parent, node(std::string(1, c).c_str()));
    }
    return parent;
  }
  NodePtr child(const NodePtr& parent, int index) {
    NodePtr c = parent->firstChild();
    while (index-- > 0) {
      c = c->nextSibling();
    }
    return c;
  }

  CPayloadLog log;
};

TEST_F(TreeTest, ReleasingTheRootFreesEveryNodeOnceFirstChildToLast) {
  NodePtr root = family("root", "ab");
  CNode::appendChild(child(root, 0), node("a1"));
  CNode::appendChild(child(root, 0), node("a2"));
  CNode::appendChild(child(root, 1), node("b1"));
  EXPECT_EQ(log.constructed, 6);
  EXPECT_TRUE(log.destroyed.empty());

  root.reset();
  // The payload goes before the links, so a parent's payload is freed before
  // its children: document order.
  EXPECT_EQ(log.destroyed, (std::vector<std::string>{"root", "a", "a1", "a2", "b", "b1"}));
}

TEST_F(TreeTest, ChildHeldOutsideSurvivesItsParentAsARoot) {
  NodePtr root = family("root", "abc");
  NodePtr kept = child(root, 1);
  CNode::appendChild(kept, node("b1"));
  EXPECT_EQ(countOf(kept), 2);

  root.reset();
  EXPECT_EQ(log.destroyed, (std::vector<std::string>{"root", "a", "c"}));
  expectRoot(kept);
  EXPECT_EQ(countOf(kept), 1);
  EXPECT_EQ(childNames(kept), "b1");

  kept.reset();
  EXPECT_EQ(log.destroyed, (std::vector<std::string>{"root", "a", "c", "b", "b1"}));
}

TEST_F(TreeTest, AppendingWithinTheSameParentMovesToTheEnd) {
  NodePtr root = family("root", "ab");
  CNode::appendChild(root, child(root, 1));
  EXPECT_EQ(childNames(root), "a,b");
  CNode::appendChild(root, child(root, 0));
  EXPECT_EQ(childNames(root), "b,a");
  EXPECT_EQ(countOf(child(root, 0)), 2);  // the parent's and the temporary's
  EXPECT_TRUE(log.destroyed.empty());
}

TEST_F(TreeTest, AppendingANodeOfAnotherTreeMovesIt) {
  NodePtr left = family("left", "abc");
  NodePtr right = family("right", "x");
  NodePtr moved = child(left, 1);
  EXPECT_EQ(countOf(moved), 2);

  CNode::appendChild(right, moved);
  EXPECT_EQ(childNames(left), "a,c");
  EXPECT_EQ(childNames(right), "x,b");
  EXPECT_EQ(countOf(moved), 2);

  // The first and the last child can move as well.
  CNode::appendChild(right, child(left, 0));
  CNode::appendChild(right, child(left, 0));
  EXPECT_EQ(childNames(left), "");
  EXPECT_FALSE(left->firstChild());
  EXPECT_FALSE(left->lastChild());
  EXPECT_EQ(childNames(right), "x,b,a,c");
  EXPECT_TRUE(log.destroyed.empty());
}

TEST_F(TreeTest, InsertBeforePlacesTheNodeAtEveryPosition) {
  NodePtr root = family("root", "bd");
  CNode::insertBefore(root, node("a"), child(root, 0));
  CNode::insertBefore(root, node("c"), child(root, 2));
  CNode::insertBefore(root, node("e"), NodePtr());
  EXPECT_EQ(childNames(root), "a,b,c,d,e");

  // Moving within the list: e to the front.
  CNode::insertBefore(root, child(root, 4), child(root, 0));
  EXPECT_EQ(childNames(root), "e,a,b,c,d");
  EXPECT_TRUE(log.destroyed.empty());
}

TEST_F(TreeTest, InsertBeforeAForeignReferenceThrowsAndLeavesTheNodeParentless) {
  NodePtr root = family("root", "ab");
  NodePtr other = family("other", "x");
  NodePtr moved = child(root, 0);

  try {
    CNode::insertBefore(root, moved, child(other, 0));
    FAIL() << "no exception";
  } catch (const XTreeException& e) {
    EXPECT_EQ(e.getText(), L"Tree node not found");
  }
  expectRoot(moved);
  EXPECT_EQ(countOf(moved), 1);
  EXPECT_EQ(childNames(root), "b");
  EXPECT_EQ(childNames(other), "x");

  // Nobody else holds it: the last reference frees it.
  moved.reset();
  EXPECT_EQ(log.destroyed, (std::vector<std::string>{"a"}));
}

TEST_F(TreeTest, RemoveChildUnlinksOnlyRealChildren) {
  NodePtr root = family("root", "abc");
  NodePtr other = family("other", "x");

  CNode::removeChild(root, child(other, 0));
  EXPECT_EQ(childNames(other), "x");

  NodePtr b = child(root, 1);
  CNode::removeChild(root, b);
  EXPECT_EQ(childNames(root), "a,c");
  expectRoot(b);
  EXPECT_EQ(countOf(b), 1);

  // Removed without an outside holder: freed at once.
  CNode::removeChild(root, child(root, 0));
  EXPECT_EQ(log.destroyed, (std::vector<std::string>{"a"}));

  // A removed node can join another tree.
  CNode::appendChild(other, b);
  EXPECT_EQ(childNames(other), "x,b");
}

TEST_F(TreeTest, EmptyPointersThrowBeforeAnyLinkChanges) {
  NodePtr root = family("root", "ab");
  NodePtr empty;
  auto expectPointerError = [](auto operation) {
    try {
      operation();
      ADD_FAILURE() << "no exception";
    } catch (const XExceptionPointer& e) {
      EXPECT_EQ(e.getText(), L"null pointer illegally passed as parameter");
    }
  };
  expectPointerError([&] { CNode::appendChild(empty, child(root, 0)); });
  expectPointerError([&] { CNode::appendChild(root, empty); });
  expectPointerError([&] { CNode::insertBefore(empty, child(root, 1), child(root, 0)); });
  expectPointerError([&] { CNode::removeChild(root, empty); });
  expectPointerError([&] { (void)empty->name(); });
  expectPointerError([&] { (void)*empty; });
  EXPECT_EQ(childNames(root), "a,b");
}

// A node under itself would keep itself alive for ever.
TEST_F(TreeTest, ANodeCannotBecomeItsOwnDescendant) {
  NodePtr root = family("root", "a");
  NodePtr a = child(root, 0);
  CNode::appendChild(a, node("a1"));
  NodePtr a1 = child(a, 0);

  for (const NodePtr& target : {root, a, a1}) {
    try {
      CNode::appendChild(target, root);
      ADD_FAILURE() << "no exception";
    } catch (const XTreeException& e) {
      EXPECT_EQ(e.getText(), L"Error in tree structure");
    }
  }
  EXPECT_THROW(CNode::insertBefore(a, a, a1), XTreeException);
  EXPECT_EQ(childNames(root), "a");
  EXPECT_EQ(childNames(a), "a1");
  EXPECT_EQ(countOf(root), 1);

  a.reset();
  a1.reset();
  root.reset();
  EXPECT_EQ(log.destroyed.size(), 3u);
}

TEST(RefPtr, CopiesShareMovesTransferAndTheLastReleaseDestroys) {
  CPayloadLog log;
  using CHolder = TRefObjectExt<CNamed>::CRef;
  TRefPtr<CHolder> first = makeRef<CHolder>(log, "doc");
  EXPECT_EQ(CRefCountProbe::count(*first), 1);
  {
    TRefPtr<CHolder> copy = first;
    TRefPtr<CBaseRefObject> base = copy;
    EXPECT_EQ(CRefCountProbe::count(*first), 3);
    TRefPtr<CHolder> moved = std::move(copy);
    EXPECT_FALSE(copy);
    EXPECT_EQ(CRefCountProbe::count(*first), 3);
  }
  EXPECT_EQ(CRefCountProbe::count(*first), 1);
  TRefPtr<CHolder>& same = first;
  first = same;  // assigning the pointer to itself keeps the object
  EXPECT_EQ(first->name(), "doc");
  first = nullptr;
  EXPECT_EQ(log.destroyed, (std::vector<std::string>{"doc"}));
}

TEST(RefPtr, CountingIsAtomicAcrossThreads) {
  CPayloadLog log;
  using CHolder = TRefObjectExt<CNamed>::CRef;
  TRefPtr<CHolder> shared = makeRef<CHolder>(log, "shared");
  auto churn = [&shared] {
    for (int i = 0; i < 200000; ++i) {
      TRefPtr<CHolder> copy = shared;
    }
  };
  std::thread t1(churn);
  std::thread t2(churn);
  t1.join();
  t2.join();
  EXPECT_EQ(CRefCountProbe::count(*shared), 1);
  EXPECT_TRUE(log.destroyed.empty());
  shared.reset();
  EXPECT_EQ(log.destroyed.size(), 1u);
}

}  // namespace
