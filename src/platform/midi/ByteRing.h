#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

namespace nupo {

// A ring of bytes between one writing and one reading thread; neither ever waits or locks, so the
// reader may be a real-time thread. What is written becomes readable in one piece when write() returns.
class ByteRing {
public:
    // Holds `capacity` bytes (a power of two).
    explicit ByteRing(std::size_t capacity) : buffer(capacity), mask(capacity - 1) {}

    std::size_t capacity() const { return buffer.size(); }
    // Writer side.
    std::size_t writeSpace() const
    {
        return buffer.size() - (head.load(std::memory_order_relaxed) - tail.load(std::memory_order_acquire));
    }
    // Appends the pieces in order (their total at most writeSpace()).
    void write(std::initializer_list<std::pair<const void*, std::size_t>> pieces)
    {
        std::size_t at = head.load(std::memory_order_relaxed);
        for (const auto& [bytes, size] : pieces) {
            copyIn(at, static_cast<const unsigned char*>(bytes), size);
            at += size;
        }
        head.store(at, std::memory_order_release);
    }
    // Reader side.
    std::size_t readSpace() const
    {
        return head.load(std::memory_order_acquire) - tail.load(std::memory_order_relaxed);
    }
    // Copies `size` bytes from `offset` past the read position (all within readSpace()).
    void peek(std::size_t offset, void* out, std::size_t size) const
    {
        const std::size_t at = (tail.load(std::memory_order_relaxed) + offset) & mask;
        const std::size_t first = std::min(size, buffer.size() - at);
        std::memcpy(out, buffer.data() + at, first);
        std::memcpy(static_cast<unsigned char*>(out) + first, buffer.data(), size - first);
    }
    void skip(std::size_t size)
    {
        tail.store(tail.load(std::memory_order_relaxed) + size, std::memory_order_release);
    }

private:
    void copyIn(std::size_t position, const unsigned char* bytes, std::size_t size)
    {
        const std::size_t at = position & mask;
        const std::size_t first = std::min(size, buffer.size() - at);
        std::memcpy(buffer.data() + at, bytes, first);
        std::memcpy(buffer.data(), bytes + first, size - first);
    }

    std::vector<unsigned char> buffer;
    std::size_t mask;
    std::atomic<std::size_t> head{0};  // bytes ever written
    std::atomic<std::size_t> tail{0};  // bytes ever read
};

}  // namespace nupo
