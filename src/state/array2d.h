#pragma once
// A two-dimensional array with lower bound 0 and an inclusive upper bound in each dimension,
// as every array of the network state is laid out: element (a, b) exists for 0..upperA,
// 0..upperB, and index 0 is allocated but never used.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvel {

// Storage is "b-major": all a for b = 0, then all a for b = 1, ... so element (a, b) sits at
// b * (upperA + 1) + a. For pattern arrays (unit, pattern) this keeps one pattern's units
// together; for the connections (output, input) it keeps one input's outputs together,
// which is the order the learning loops walk.
template <class T>
class Array2D {
 public:
  Array2D() = default;
  Array2D(std::int32_t upperA, std::int32_t upperB)
      : upperA_(upperA), upperB_(upperB),
        data_(static_cast<std::size_t>(upperA + 1) * static_cast<std::size_t>(upperB + 1)) {}

  T& operator()(std::int32_t a, std::int32_t b) { return data_[index(a, b)]; }
  const T& operator()(std::int32_t a, std::int32_t b) const { return data_[index(a, b)]; }

  std::int32_t upperA() const { return upperA_; }
  std::int32_t upperB() const { return upperB_; }
  bool empty() const { return data_.empty(); }

  // Raw access for tight loops: element (a, b) is data()[b * stride() + a].
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  std::size_t stride() const { return static_cast<std::size_t>(upperA_) + 1; }

  friend bool operator==(const Array2D&, const Array2D&) = default;

 private:
  std::size_t index(std::int32_t a, std::int32_t b) const {
    return static_cast<std::size_t>(b) * stride() + static_cast<std::size_t>(a);
  }

  std::int32_t upperA_ = -1;
  std::int32_t upperB_ = -1;
  std::vector<T> data_;
};

}  // namespace corvel
