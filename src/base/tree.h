// Generic tree links for reference-counted nodes (the XML tree and the dialog
// markup tree).
//
// A parent holds exactly one reference on each of its children; a child's
// link to its parent holds none.  The links are plain pointers: a tree is
// built, changed and read by one thread at a time.
#pragma once

#include "app/exception.h"
#include "base/ref_object.h"
#include "base/ref_ptr.h"

template <class Node>
class XTreeBase {
public:
  XTreeBase() noexcept = default;
  XTreeBase(const XTreeBase&) = delete;
  XTreeBase& operator=(const XTreeBase&) = delete;

  // The links, each as a new reference.  A walker holds its own reference on
  // the node it stands on, so removing that node from its parent cannot
  // destroy it under the walker's feet.
  TRefPtr<Node> parent() const noexcept { return TRefPtr<Node>::share(parent_); }
  TRefPtr<Node> firstChild() const noexcept { return TRefPtr<Node>::share(firstChild_); }
  TRefPtr<Node> lastChild() const noexcept { return TRefPtr<Node>::share(lastChild_); }
  TRefPtr<Node> prevSibling() const noexcept { return TRefPtr<Node>::share(prevSibling_); }
  TRefPtr<Node> nextSibling() const noexcept { return TRefPtr<Node>::share(nextSibling_); }

  // The same links without a reference, for walks that do not change the tree.
  Node* parentLink() const noexcept { return parent_; }
  Node* firstChildLink() const noexcept { return firstChild_; }
  Node* lastChildLink() const noexcept { return lastChild_; }
  Node* prevSiblingLink() const noexcept { return prevSibling_; }
  Node* nextSiblingLink() const noexcept { return nextSibling_; }

  // Makes node the last child of parent, taking it out of any list it is in
  // (possibly parent's own: it then moves to the end).
  template <class P, class N>
  static void appendChild(const TRefPtr<P>& parent, const TRefPtr<N>& node) {
    append(required(parent), required(node));
  }

  // Makes node the child of parent just before reference; an empty reference
  // appends.  A reference that is not parent's child throws "Tree node not
  // found", and node is then left without a parent.
  template <class P, class N, class R>
  static void insertBefore(const TRefPtr<P>& parent, const TRefPtr<N>& node, const TRefPtr<R>& reference) {
    Node* p = required(parent);
    Node* n = required(node);
    if (!reference) {
      append(p, n);
      return;
    }
    insert(p, n, reference.get());
  }

  // Unlinks node from parent and drops parent's reference on it; does nothing
  // when node is not parent's child.
  template <class P, class N>
  static void removeChild(const TRefPtr<P>& parent, const TRefPtr<N>& node) {
    Node* p = required(parent);
    Node* n = required(node);
    if (links(n).parent_ == p) {
      detach(n);
    }
  }

protected:
  ~XTreeBase() = default;

  // The node's destructor lets go of its children, first to last.  A child
  // still held elsewhere survives as a root.
  void releaseChildren() noexcept {
    while (Node* child = firstChild_) {
      XTreeBase& c = links(child);
      firstChild_ = c.nextSibling_;
      if (firstChild_) {
        links(firstChild_).prevSibling_ = nullptr;
      } else {
        lastChild_ = nullptr;
      }
      c.parent_ = c.prevSibling_ = c.nextSibling_ = nullptr;
      child->release();
    }
  }

private:
  template <class T>
  static Node* required(const TRefPtr<T>& pointer) {
    if (!pointer) {
      throw XExceptionPointer();
    }
    return pointer.get();
  }

  static XTreeBase& links(Node* node) noexcept { return *node; }

  // A node may not become a child of itself or of one of its descendants:
  // the tree would hold itself and never be freed.  Checked before any link
  // changes.
  static void refuseCycle(Node* parent, Node* node) {
    for (Node* up = parent; up; up = links(up).parent_) {
      if (up == node) {
        throw XTreeException(1);
      }
    }
  }

  // Takes node out of its parent's list, clears its links and releases the
  // parent's reference.
  static void detach(Node* node) noexcept {
    XTreeBase& n = links(node);
    XTreeBase& p = links(n.parent_);
    if (n.nextSibling_) {
      links(n.nextSibling_).prevSibling_ = n.prevSibling_;
    } else {
      p.lastChild_ = n.prevSibling_;
    }
    if (n.prevSibling_) {
      links(n.prevSibling_).nextSibling_ = n.nextSibling_;
    } else {
      p.firstChild_ = n.nextSibling_;
    }
    n.parent_ = n.prevSibling_ = n.nextSibling_ = nullptr;
    node->release();
  }

  // The reference that the new parent will own, taken before the node leaves
  // its old list so that leaving cannot destroy it.
  static void takeForNewParent(Node* node) noexcept {
    node->addRef();
    if (links(node).parent_) {
      detach(node);
    }
  }

  static void append(Node* parent, Node* node) {
    refuseCycle(parent, node);
    takeForNewParent(node);
    XTreeBase& p = links(parent);
    XTreeBase& n = links(node);
    if (p.lastChild_) {
      links(p.lastChild_).nextSibling_ = node;
      n.prevSibling_ = p.lastChild_;
    } else {
      p.firstChild_ = node;
      n.prevSibling_ = nullptr;
    }
    n.nextSibling_ = nullptr;
    n.parent_ = parent;
    p.lastChild_ = node;
  }

  static void insert(Node* parent, Node* node, Node* reference) {
    refuseCycle(parent, node);
    takeForNewParent(node);
    XTreeBase& p = links(parent);
    Node* found = p.firstChild_;
    while (found && found != reference) {
      found = links(found).nextSibling_;
    }
    if (!found) {
      node->release();
      throw XTreeException(0);
    }
    XTreeBase& n = links(node);
    XTreeBase& r = links(reference);
    n.prevSibling_ = r.prevSibling_;
    n.nextSibling_ = reference;
    r.prevSibling_ = node;
    if (n.prevSibling_) {
      links(n.prevSibling_).nextSibling_ = node;
    } else {
      p.firstChild_ = node;
    }
    n.parent_ = parent;
  }

  Node* parent_ = nullptr;
  Node* firstChild_ = nullptr;
  Node* lastChild_ = nullptr;
  Node* prevSibling_ = nullptr;
  Node* nextSibling_ = nullptr;
};

// The generic tree node: a counter and the links, no fields of its own.
class CCommonRefObjectBase : public CBaseRefObject, public XTreeBase<CCommonRefObjectBase> {
public:
  ~CCommonRefObjectBase() override { releaseChildren(); }
};

// A tree node with a payload; the payload follows the links.  The link
// readers are repeated with the node's own type, since every node of one tree
// carries the same payload.
template <class T>
class CCommonRefObject : public CCommonRefObjectBase, public T {
public:
  template <class... Args>
  explicit CCommonRefObject(Args&&... args) : T(static_cast<Args&&>(args)...) {}

  TRefPtr<CCommonRefObject> parent() const noexcept { return typed(parentLink()); }
  TRefPtr<CCommonRefObject> firstChild() const noexcept { return typed(firstChildLink()); }
  TRefPtr<CCommonRefObject> lastChild() const noexcept { return typed(lastChildLink()); }
  TRefPtr<CCommonRefObject> prevSibling() const noexcept { return typed(prevSiblingLink()); }
  TRefPtr<CCommonRefObject> nextSibling() const noexcept { return typed(nextSiblingLink()); }

  CCommonRefObject* parentNode() const noexcept { return cast(parentLink()); }
  CCommonRefObject* firstChildNode() const noexcept { return cast(firstChildLink()); }
  CCommonRefObject* lastChildNode() const noexcept { return cast(lastChildLink()); }
  CCommonRefObject* prevSiblingNode() const noexcept { return cast(prevSiblingLink()); }
  CCommonRefObject* nextSiblingNode() const noexcept { return cast(nextSiblingLink()); }

private:
  static CCommonRefObject* cast(CCommonRefObjectBase* node) noexcept { return static_cast<CCommonRefObject*>(node); }
  static TRefPtr<CCommonRefObject> typed(CCommonRefObjectBase* node) noexcept {
    return TRefPtr<CCommonRefObject>::share(cast(node));
  }
};
