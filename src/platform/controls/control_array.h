#pragma once
// An indexed set of controls made from a template, element 0. Load creates an
// element with the template's size and appearance, hidden; Unload destroys
// one; looking up an element that is not loaded fails, and so does an index
// past 32767.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../failure.h"

namespace platform {

template <typename T>
class ControlArray {
public:
    using Make = std::function<std::unique_ptr<T>(const T& tmpl, int index)>;

    static constexpr int kMaxIndex = 32767;

    ControlArray(std::unique_ptr<T> element0, Make make) : make_(std::move(make)) {
        element0->setIndex(0);
        elements_.push_back(std::move(element0));
        count_ = 1;
    }

    int Count() const { return count_; }
    // Highest index plus one; equal to Count when the array has no gaps.
    int UBoundPlusOne() const { return static_cast<int>(elements_.size()); }

    bool Exists(int index) const {
        return index >= 0 && index < UBoundPlusOne() && elements_[static_cast<std::size_t>(index)] != nullptr;
    }

    T& operator()(int index) {
        if (!Exists(index)) throw Failure("control array element '" + std::to_string(index) + "' doesn't exist");
        return *elements_[static_cast<std::size_t>(index)];
    }
    const T& operator()(int index) const { return const_cast<ControlArray*>(this)->operator()(index); }

    void Load(int index) {
        if (index < 0 || index > kMaxIndex) throw Failure("overflow");
        if (Exists(index)) throw Failure("object already loaded");
        if (count_ >= limit_) throw Failure("out of memory");
        std::unique_ptr<T> made = make_(*elements_[0], index);
        made->setIndex(index);
        if (static_cast<std::size_t>(index) >= elements_.size()) elements_.resize(static_cast<std::size_t>(index) + 1);
        elements_[static_cast<std::size_t>(index)] = std::move(made);
        ++count_;
        if (loaded) loaded(*elements_[static_cast<std::size_t>(index)]);
    }

    void Unload(int index) {
        if (index == 0) throw Failure("can't unload controls created at design time");
        T& gone = operator()(index);
        if (unloading) unloading(gone);
        elements_[static_cast<std::size_t>(index)].reset();
        --count_;
        while (!elements_.empty() && !elements_.back()) elements_.pop_back();
    }

    // The most elements the platform lets exist at once; Load fails past it.
    void setLimit(int maxElements) { limit_ = maxElements; }

    template <typename F>
    void ForEach(F&& f) {
        for (auto& e : elements_)
            if (e) f(*e);
    }

    // Views watch elements come and go.
    std::function<void(T&)> loaded;
    std::function<void(T&)> unloading;

private:
    Make make_;
    std::vector<std::unique_ptr<T>> elements_;
    int count_ = 0;
    int limit_ = kMaxIndex + 1;
};

}  // namespace platform
