#pragma once

#include "views3d/math/QuaternionMath.h"

namespace nupo {

// A saved modelview matrix: pushed on construction, popped once by UnFrame (or on destruction when
// UnFrame was not called).
class MatrixFrame {
public:
    MatrixFrame();
    ~MatrixFrame() { UnFrame(); }
    MatrixFrame(const MatrixFrame&) = delete;
    MatrixFrame& operator=(const MatrixFrame&) = delete;

    // Multiplies the modelview matrix by the rotation.
    MatrixFrame& operator<<=(const Quat& rotation);
    // Moves to the position, rotates, scales.
    MatrixFrame& operator<<=(const QMatrix& transform);
    void UnFrame();

private:
    int active = 0;
};

}  // namespace nupo
