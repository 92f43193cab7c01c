#ifndef KELVANE_GENERATOR_MODEL_STABLELIST_H
#define KELVANE_GENERATOR_MODEL_STABLELIST_H

#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// A list whose elements never move once added, so that entities may point
// at each other while more are added. Elements stand in blocks of a fixed
// count, each one allocation: a block holds many entities however large
// they are, and no room is lost between them.
template <class T>
class CStableList {
    static constexpr std::size_t BlockShift = 5;
    static constexpr std::size_t BlockCount = std::size_t(1) << BlockShift; // elements per block

public:
    template <class List, class Value>
    class CIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        CIterator(List* list, std::size_t position) : list_(list), position_(position) {}
        Value& operator*() const { return (*list_)[position_]; }
        Value* operator->() const { return &(*list_)[position_]; }
        CIterator& operator++()
        {
            ++position_;
            return *this;
        }
        CIterator operator++(int)
        {
            CIterator before = *this;
            ++position_;
            return before;
        }
        bool operator==(const CIterator& other) const { return position_ == other.position_; }
        bool operator!=(const CIterator& other) const { return position_ != other.position_; }

    private:
        List* list_;
        std::size_t position_;
    };
    using iterator = CIterator<CStableList, T>;
    using const_iterator = CIterator<const CStableList, const T>;

    CStableList() = default;
    CStableList(const CStableList&) = delete;
    CStableList& operator=(const CStableList&) = delete;
    // The blocks change hands: elements keep their addresses.
    CStableList(CStableList&& other) noexcept : blocks_(std::move(other.blocks_)), size_(other.size_)
    {
        other.blocks_.clear();
        other.size_ = 0;
    }
    CStableList& operator=(CStableList&& other) noexcept
    {
        if (this != &other) {
            destroyAll();
            blocks_ = std::move(other.blocks_);
            size_ = other.size_;
            other.blocks_.clear();
            other.size_ = 0;
        }
        return *this;
    }
    ~CStableList() { destroyAll(); }

    template <class... Args>
    T& emplace_back(Args&&... args)
    {
        if (size_ == blocks_.size() * BlockCount)
            blocks_.push_back(std::unique_ptr<Slot[]>(new Slot[BlockCount])); // left unset: elements fill it
        T* added = new (slot(size_)) T(std::forward<Args>(args)...);
        ++size_;
        return *added;
    }
    void push_back(T&& value) { emplace_back(std::move(value)); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t position) { return *std::launder(reinterpret_cast<T*>(slot(position))); }
    const T& operator[](std::size_t position) const
    {
        return *std::launder(reinterpret_cast<const T*>(slot(position)));
    }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[size_ - 1]; }
    const T& back() const { return (*this)[size_ - 1]; }

    iterator begin() { return iterator(this, 0); }
    iterator end() { return iterator(this, size_); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

private:
    // Room for one element, constructed in place when added.
    struct Slot {
        alignas(T) unsigned char bytes[sizeof(T)];
    };

    void* slot(std::size_t position) const
    {
        return blocks_[position >> BlockShift][position & (BlockCount - 1)].bytes;
    }

    void destroyAll()
    {
        for (std::size_t position = size_; position > 0; --position)
            (*this)[position - 1].~T();
        size_ = 0;
        blocks_.clear();
    }

    std::vector<std::unique_ptr<Slot[]>> blocks_;
    std::size_t size_ = 0;
};

#endif
