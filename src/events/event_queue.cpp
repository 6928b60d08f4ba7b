// The process-wide event queue: any thread may send while another takes.
// One plain mutex guards every access and is never held across other calls.
#include "core/frame.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <mutex>

using namespace zyn;

namespace {

// Built empty when the module is loaded and freed when it is unloaded;
// zyn_init and zyn_unload leave it alone.
struct EventQueue {
    std::mutex lock;
    std::deque<EventRecord> events;
} g_queue;

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_event_send(int32_t code, int32_t param1, int32_t param2)
{
    return frame::full(0, [&] {
        const std::lock_guard<std::mutex> guard(g_queue.lock);
        g_queue.events.push_back(EventRecord{code, param1, param2}); // unchanged if this throws
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_event_get(EventRecord* event)
{
    return frame::full(0, [&] {
        if (!event) // nowhere to put it: the event stays queued
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        const std::lock_guard<std::mutex> guard(g_queue.lock);
        if (g_queue.events.empty()) {
            event->code = 0; // an empty queue is not an error
            return 0;
        }
        *event = g_queue.events.front();
        g_queue.events.pop_front();
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_event_count(void)
{
    return frame::full(0, [&] {
        size_t count;
        {
            const std::lock_guard<std::mutex> guard(g_queue.lock);
            count = g_queue.events.size();
        }
        constexpr size_t kMost = size_t(std::numeric_limits<int>::max());
        return int(count < kMost ? count : kMost);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_event_clear(void)
{
    return frame::full(0, [&] {
        std::deque<EventRecord> taken;
        {
            const std::lock_guard<std::mutex> guard(g_queue.lock);
            taken.swap(g_queue.events);
        }
        return 1; // the taken events are freed here, outside the lock
    });
}
