#pragma once

#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// The allocator of the data set's arrays: resize() leaves the new elements as the memory came, so
// that a loader that writes every element afterwards, on several threads, touches each page once
// and on the thread that fills it. Elements are plain records and numbers whose lifetime begins
// with their memory; a caller of resize() writes every new element before it reads one.
template <class T> class UnwrittenAllocator : public std::allocator<T> {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    using value_type = T;
    template <class U> struct rebind { using other = UnwrittenAllocator<U>; };

    UnwrittenAllocator() = default;
    template <class U> UnwrittenAllocator(const UnwrittenAllocator<U>&) noexcept {}

    template <class U> void construct(U*) noexcept {}
    template <class U, class First, class... Rest>
    void construct(U* p, First&& first, Rest&&... rest) {
        ::new (static_cast<void*>(p)) U(std::forward<First>(first), std::forward<Rest>(rest)...);
    }
};

// An array of the data set.
template <class T> using LoadedArray = std::vector<T, UnwrittenAllocator<T>>;
