#include "picture/surface_pool.h"

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace trevanto {

// Shared by the pool and every surface out of it.
struct SurfacePool::Store {
    int width = 0;
    int height = 0;
    mutable std::mutex mutex;
    std::vector<std::unique_ptr<Surface>> freeSurfaces;
    std::vector<void*> freeBlocks;  // control blocks of one size
    size_t blockSize = 0;
    int created = 0;

    ~Store() {
        for (void* block : freeBlocks)
            ::operator delete(block);
    }

    void* TakeBlock(size_t size) {
        {
            const std::lock_guard lock(mutex);
            if (blockSize == 0)
                blockSize = size;
            if (size == blockSize && !freeBlocks.empty()) {
                void* block = freeBlocks.back();
                freeBlocks.pop_back();
                return block;
            }
        }
        return ::operator new(size);
    }

    void GiveBlock(void* block, size_t size) {
        {
            const std::lock_guard lock(mutex);
            if (size == blockSize) {
                freeBlocks.push_back(block);
                return;
            }
        }
        ::operator delete(block);
    }
};

namespace {

// Recycles the shared pointers' control blocks through the store.
template <typename T>
struct BlockAllocator {
    using value_type = T;
    std::shared_ptr<SurfacePool::Store> store;

    explicit BlockAllocator(std::shared_ptr<SurfacePool::Store> s) : store(std::move(s)) {}
    template <typename U>
    BlockAllocator(const BlockAllocator<U>& other) : store(other.store) {}  // NOLINT

    T* allocate(size_t count) { return static_cast<T*>(store->TakeBlock(sizeof(T) * count)); }
    void deallocate(T* block, size_t count) { store->GiveBlock(block, sizeof(T) * count); }
    template <typename U>
    bool operator==(const BlockAllocator<U>& other) const {
        return store == other.store;
    }
};

// Puts a surface back into the store when its last holder lets go.
struct ReturnToStore {
    std::shared_ptr<SurfacePool::Store> store;
    void operator()(Surface* surface) const {
        std::unique_ptr<Surface> owned(surface);
        const std::lock_guard lock(store->mutex);
        store->freeSurfaces.push_back(std::move(owned));
    }
};

}  // namespace

SurfacePool::SurfacePool(int width, int height) : store_(std::make_shared<Store>()) {
    store_->width = width;
    store_->height = height;
}

SurfacePool::~SurfacePool() = default;

std::shared_ptr<Surface> SurfacePool::Acquire() {
    std::unique_ptr<Surface> surface;
    {
        const std::lock_guard lock(store_->mutex);
        if (!store_->freeSurfaces.empty()) {
            surface = std::move(store_->freeSurfaces.back());
            store_->freeSurfaces.pop_back();
        }
    }
    if (!surface) {
        surface = std::make_unique<Surface>(store_->width, store_->height, PixelFormat::Rgb32(),
                                            SurfacePool::ConversionPitch(store_->width));
        if (!surface->IsValid())
            return nullptr;
        const std::lock_guard lock(store_->mutex);
        ++store_->created;
    }
    Surface* raw = surface.release();
    return std::shared_ptr<Surface>(raw, ReturnToStore{store_}, BlockAllocator<Surface>{store_});
}

int SurfacePool::ConversionPitch(int width) {
    constexpr int kBlockPixels = 16;
    return (width + kBlockPixels - 1) / kBlockPixels * kBlockPixels * 4;
}

int SurfacePool::Created() const {
    const std::lock_guard lock(store_->mutex);
    return store_->created;
}

}  // namespace trevanto
