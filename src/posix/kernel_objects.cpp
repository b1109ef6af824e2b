#include "posix/kernel_objects.h"

#include <chrono>
#include <thread>
#include <vector>

// One waitable object: an event, or a thread that becomes signalled when it ends.
struct KernelObjects::Object {
  std::mutex mutex;
  std::condition_variable changed;
  bool signalled = false;
  bool manual_reset = true;
  bool is_thread = false;
  std::thread thread;  // joined by whoever closes the last handle, or by the table at its end
};

KernelObjects::~KernelObjects() {
  for (auto& [handle, object] : objects_) {
    if (object->thread.joinable()) {
      object->thread.join();
    }
  }
}

HANDLE KernelObjects::create_event(bool manual_reset, bool initially_signalled) {
  auto object = std::make_shared<Object>();
  object->manual_reset = manual_reset;
  object->signalled = initially_signalled;
  const std::lock_guard<std::mutex> lock(mutex_);
  next_handle_ += 4;
  const HANDLE handle = reinterpret_cast<HANDLE>(next_handle_);
  objects_.emplace(handle, std::move(object));
  return handle;
}

HANDLE KernelObjects::create_thread(LPTHREAD_START_ROUTINE start, void* parameter) {
  if (start == nullptr) {
    return nullptr;
  }
  auto object = std::make_shared<Object>();
  object->is_thread = true;
  HANDLE handle = nullptr;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    next_handle_ += 4;
    handle = reinterpret_cast<HANDLE>(next_handle_);
    objects_.emplace(handle, object);
  }
  // The thread keeps its own object alive, so a thread let go by `close` can still signal it.
  object->thread = std::thread([start, parameter, runner = object] {
    start(parameter);
    const std::lock_guard<std::mutex> lock(runner->mutex);
    runner->signalled = true;
    runner->changed.notify_all();
  });
  return handle;
}

std::shared_ptr<KernelObjects::Object> KernelObjects::find(HANDLE handle) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = objects_.find(handle);
  return found == objects_.end() ? nullptr : found->second;
}

bool KernelObjects::set_event(HANDLE event) {
  const std::shared_ptr<Object> object = find(event);
  if (!object || object->is_thread) {
    return false;
  }
  const std::lock_guard<std::mutex> lock(object->mutex);
  object->signalled = true;
  object->changed.notify_all();
  return true;
}

DWORD KernelObjects::wait(HANDLE handle, DWORD milliseconds) {
  const std::shared_ptr<Object> object = find(handle);
  if (!object) {
    return WAIT_FAILED;
  }
  std::unique_lock<std::mutex> lock(object->mutex);
  const auto is_signalled = [&] { return object->signalled; };
  if (milliseconds == INFINITE) {
    object->changed.wait(lock, is_signalled);
  } else if (!object->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), is_signalled)) {
    return WAIT_TIMEOUT;
  }
  if (!object->is_thread && !object->manual_reset) {
    object->signalled = false;  // an auto-reset event lets one waiter through
  }
  return WAIT_OBJECT_0;
}

bool KernelObjects::close(HANDLE handle) {
  std::shared_ptr<Object> object;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = objects_.find(handle);
    if (found == objects_.end()) {
      return false;
    }
    object = std::move(found->second);
    objects_.erase(found);
  }
  if (object->thread.joinable()) {
    // Closing the handle does not end the thread; one that still runs is let go to finish alone.
    bool finished = false;
    {
      const std::lock_guard<std::mutex> lock(object->mutex);
      finished = object->signalled;
    }
    if (finished) {
      object->thread.join();
    } else {
      object->thread.detach();
    }
  }
  return true;
}

int KernelObjects::open_handles() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(objects_.size());
}

int KernelObjects::running_threads() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  int running = 0;
  for (const auto& [handle, object] : objects_) {
    const std::lock_guard<std::mutex> object_lock(object->mutex);
    running += object->is_thread && !object->signalled ? 1 : 0;
  }
  return running;
}
