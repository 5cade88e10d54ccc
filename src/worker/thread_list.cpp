#include "worker/thread_list.h"

#include <mutex>

#include "worker/critical_section.h"
#include "worker/ref_thread.h"

namespace {

// The list and its lock outlive every static object of the program: a worker
// may still end while those are being destroyed at exit.
struct CGlobalList {
  CCriticalSection lock;
  XRefThread* head = nullptr;
};

union CImmortalList {
  CImmortalList() : list() {}
  ~CImmortalList() {}
  CGlobalList list;
};

CGlobalList& globalList() {
  static CImmortalList immortal;
  return immortal.list;
}

}  // namespace

void CThreadList::link(XRefThread& thread) noexcept {
  CGlobalList& list = globalList();
  const std::lock_guard<CCriticalSection> hold(list.lock);
  thread.prevInList_ = nullptr;
  thread.nextInList_ = list.head;
  if (list.head) {
    list.head->prevInList_ = &thread;
  }
  list.head = &thread;
}

void CThreadList::unlink(XRefThread& thread) noexcept {
  CGlobalList& list = globalList();
  const std::lock_guard<CCriticalSection> hold(list.lock);
  if (thread.prevInList_) {
    thread.prevInList_->nextInList_ = thread.nextInList_;
  } else {
    list.head = thread.nextInList_;
  }
  if (thread.nextInList_) {
    thread.nextInList_->prevInList_ = thread.prevInList_;
  }
  thread.prevInList_ = nullptr;
  thread.nextInList_ = nullptr;
}

XRefThread* CThreadList::find(std::uint32_t threadId) noexcept {
  if (threadId == 0) {
    return nullptr;
  }
  CGlobalList& list = globalList();
  const std::lock_guard<CCriticalSection> hold(list.lock);
  for (XRefThread* thread = list.head; thread; thread = thread->nextInList_) {
    if (thread->threadId_.load() == threadId) {
      return thread;
    }
  }
  return nullptr;
}
