// The setup's hash map: 31 buckets and a deterministic iteration order.
//
// The order matters: the XML writer emits attributes in it, so a written
// document depends only on the keys and the order in which they were set.
// Iteration visits buckets 0 to 30, each chain from its head; a new key goes
// to the head of its chain, an existing key keeps its place and gets the new
// value.  The table is allocated on the first insertion.
//
// Key types bring their own hash through THashKey<Key> (Hash::hash and the
// view type used for look-ups); the map itself is typed, so nodes carry no key
// type tag.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

// 32-bit FNV-1 over a sample of the characters: every s-th one with
// s = length / 10 + 1, so long keys cost no more than short ones.  Wide
// characters are UTF-16 code units, the same in both trees.
template <class Char>
std::uint32_t sampledFnv1(std::basic_string_view<Char> key) noexcept {
  using Unit = std::conditional_t<sizeof(Char) == 1, unsigned char, std::uint16_t>;
  std::uint32_t h = 2166136261u;
  const std::size_t stride = key.size() / 10 + 1;
  for (std::size_t i = 0; i < key.size(); i += stride) {
    h = (h * 16777619u) ^ static_cast<Unit>(key[i]);
  }
  return h;
}

template <class Key>
struct THashKey;

template <>
struct THashKey<std::wstring> {
  using View = std::wstring_view;
  static std::uint32_t hash(View key) noexcept { return sampledFnv1(key); }
};

template <>
struct THashKey<std::string> {
  using View = std::string_view;
  static std::uint32_t hash(View key) noexcept { return sampledFnv1(key); }
};

template <class Key, class Value, class Hash = THashKey<Key>>
class THashMap {
public:
  using KeyView = typename Hash::View;
  static constexpr std::uint32_t kBuckets = 31;

  struct Entry {
    Key key;
    Value value;
  };

  static std::uint32_t bucketOf(KeyView key) noexcept { return Hash::hash(key) % kBuckets; }

  THashMap() noexcept = default;
  THashMap(THashMap&&) noexcept = default;
  THashMap& operator=(THashMap&& other) noexcept {
    THashMap moved(std::move(other));
    swap(moved);
    return *this;
  }
  // A copy iterates exactly like the original.
  THashMap(const THashMap& other) : count_(other.count_) {
    if (!other.buckets_) {
      return;
    }
    buckets_ = std::make_unique<Buckets>();
    for (std::uint32_t b = 0; b < kBuckets; ++b) {
      std::unique_ptr<Node>* tail = &(*buckets_)[b];
      for (const Node* from = (*other.buckets_)[b].get(); from; from = from->next.get()) {
        *tail = std::make_unique<Node>(Node{nullptr, from->hash, from->entry});
        tail = &(*tail)->next;
      }
    }
  }
  THashMap& operator=(const THashMap& other) {
    THashMap copy(other);
    swap(copy);
    return *this;
  }
  ~THashMap() { clear(); }

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }

  const Value* find(KeyView key) const noexcept { return findIn(key, Hash::hash(key)); }
  Value* find(KeyView key) noexcept { return const_cast<Value*>(findIn(key, Hash::hash(key))); }
  bool contains(KeyView key) const noexcept { return find(key) != nullptr; }

  Value& set(KeyView key, Value value) {
    const std::uint32_t hash = Hash::hash(key);
    if (Value* existing = const_cast<Value*>(findIn(key, hash))) {
      *existing = std::move(value);
      return *existing;
    }
    if (!buckets_) {
      buckets_ = std::make_unique<Buckets>();
    }
    std::unique_ptr<Node>& head = (*buckets_)[hash % kBuckets];
    head = std::make_unique<Node>(Node{std::move(head), hash, Entry{Key(key), std::move(value)}});
    ++count_;
    return head->entry.value;
  }

  void clear() noexcept {
    if (!buckets_) {
      return;
    }
    // Chains are freed one node at a time: a long chain must not recurse.
    for (std::unique_ptr<Node>& head : *buckets_) {
      while (head) {
        head = std::move(head->next);
      }
    }
    buckets_.reset();
    count_ = 0;
  }

  void swap(THashMap& other) noexcept {
    std::swap(buckets_, other.buckets_);
    std::swap(count_, other.count_);
  }

private:
  struct Node {
    std::unique_ptr<Node> next;
    std::uint32_t hash;
    Entry entry;
  };
  using Buckets = std::array<std::unique_ptr<Node>, kBuckets>;

  const Value* findIn(KeyView key, std::uint32_t hash) const noexcept {
    if (!buckets_) {
      return nullptr;
    }
    for (const Node* node = (*buckets_)[hash % kBuckets].get(); node; node = node->next.get()) {
      if (node->hash == hash && KeyView(node->entry.key) == key) {
        return &node->entry.value;
      }
    }
    return nullptr;
  }

public:
  template <class NodeT, class EntryT>
  class TIterator {
  public:
    EntryT& operator*() const noexcept { return node_->entry; }
    EntryT* operator->() const noexcept { return &node_->entry; }
    TIterator& operator++() noexcept {
      node_ = node_->next.get();
      settle();
      return *this;
    }
    friend bool operator==(const TIterator& a, const TIterator& b) noexcept { return a.node_ == b.node_; }

  private:
    friend class THashMap;
    TIterator(const Buckets* buckets, std::uint32_t bucket) noexcept : buckets_(buckets), bucket_(bucket) {
      node_ = buckets_ && bucket_ < kBuckets ? (*buckets_)[bucket_].get() : nullptr;
      settle();
    }
    // Moves on to the head of the next non-empty bucket when the chain ends.
    void settle() noexcept {
      while (!node_ && buckets_ && ++bucket_ < kBuckets) {
        node_ = (*buckets_)[bucket_].get();
      }
    }
    const Buckets* buckets_;
    std::uint32_t bucket_;
    NodeT* node_ = nullptr;
  };
  using iterator = TIterator<Node, Entry>;
  using const_iterator = TIterator<const Node, const Entry>;

  iterator begin() noexcept { return iterator(buckets_.get(), 0); }
  iterator end() noexcept { return iterator(nullptr, kBuckets); }
  const_iterator begin() const noexcept { return const_iterator(buckets_.get(), 0); }
  const_iterator end() const noexcept { return const_iterator(nullptr, kBuckets); }

private:
  std::unique_ptr<Buckets> buckets_;
  std::size_t count_ = 0;
};
