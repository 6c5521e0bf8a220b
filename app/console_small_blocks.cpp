// quillonc.exe serves the C++ allocations of 248 bytes and less from blocks
// of its own. A CHECK plans a whole run and makes and drops some 45,000 small
// strings and nodes; under Wine each went through the process heap's lock
// and free lists, which took two fifths of the time CHECK spends beyond a
// do-nothing program. Here a freed block goes onto a list of its size and
// the next allocation of that size takes it back: a few instructions each.
// Larger blocks still come from the C library. Only quillonc.exe links this.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// Each block starts with its size class (or kLarge), which delete reads;
// the 8 bytes keep what follows aligned as the C library's malloc aligns.
constexpr std::size_t kHeader = 8;
constexpr std::size_t kStep = 16;
constexpr std::size_t kClasses = 16;  // blocks of 16 to 256 bytes, header included
constexpr std::size_t kChunk = 64 * 1024;
constexpr unsigned char kLarge = 0xFF;

struct FreeBlock {
    FreeBlock* next;
};

struct SmallBlocks {
    FreeBlock* free[kClasses];
    char* next;  // the unused rest of the newest chunk
    char* end;
};

// Constant-initialised, so it serves allocations made before main().
constinit SmallBlocks blocks{};
constinit std::atomic_flag busy{};

// The program runs one thread; the lock costs one uncontended exchange and
// keeps the lists whole should another thread ever allocate.
class Held {
public:
    Held() {
        while (busy.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Held() { busy.clear(std::memory_order_release); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
};

void* Allocate(std::size_t size) {
    if (size <= kStep * kClasses - kHeader) {
        const std::size_t sizeClass = (size + kHeader - 1) / kStep;
        char* block = nullptr;
        {
            const Held held;
            if (FreeBlock* reused = blocks.free[sizeClass]) {
                blocks.free[sizeClass] = reused->next;
                block = reinterpret_cast<char*>(reused);
            } else {
                const std::size_t bytes = (sizeClass + 1) * kStep;
                if (!blocks.next || static_cast<std::size_t>(blocks.end - blocks.next) < bytes) {
                    // The rest of the old chunk, less than one block, is left unused.
                    char* chunk = static_cast<char*>(std::malloc(kChunk));
                    if (!chunk) throw std::bad_alloc();
                    blocks.next = chunk;
                    blocks.end = chunk + kChunk;
                }
                block = blocks.next;
                blocks.next += bytes;
            }
        }
        block[0] = static_cast<char>(sizeClass);
        return block + kHeader;
    }
    if (size > static_cast<std::size_t>(-1) - kHeader) throw std::bad_alloc();
    char* block = static_cast<char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    block[0] = static_cast<char>(kLarge);
    return block + kHeader;
}

void Release(void* pointer) noexcept {
    if (!pointer) return;
    char* block = static_cast<char*>(pointer) - kHeader;
    const auto sizeClass = static_cast<unsigned char>(block[0]);
    if (sizeClass == kLarge) return std::free(block);
    auto* freed = reinterpret_cast<FreeBlock*>(block);
    const Held held;
    freed->next = blocks.free[sizeClass];
    blocks.free[sizeClass] = freed;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept { return operator new(size, nothrow); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
