#pragma once

// Normals and texture coordinates of a height mesh, for any grid size. Vertex (i, j) stands at x = i,
// y = j, z = P[i][j]; cell (i, j) has the corners (i, j), (i, j+1), (i+1, j), (i+1, j+1) and is split
// into triangle 0 (i, j), (i, j+1), (i+1, j) and triangle 1 (i, j+1), (i+1, j), (i+1, j+1).
//
// Heights are anything indexed P[row][column]; face normals F[triangle][row][column][xyz], vertex normals
// V[row][column][xyz], segments S[triangle][end][row][column][xyz], texture coordinates T[row][column][st].
// Only the rows x columns corner of each array is used; the rest keeps what it held.

#include <cmath>

namespace nupo {

namespace meshdetail {

inline void setUnit(float v[3], float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    v[0] = x / length;
    v[1] = y / length;
    v[2] = z / length;
}

}  // namespace meshdetail

// Unit normals of both triangles of every cell of a rows x columns mesh. Each is a cross product of two
// triangle edges whose z component is 1 before normalising, so its length is never zero.
template <class Heights, class FaceNorms>
void getFaceNormsOf(const Heights& P, int rows, int columns, FaceNorms& F)
{
    for (int i = 0; i < rows - 1; ++i) {
        for (int j = 0; j < columns - 1; ++j) {
            const float a = P[i][j];
            const float b = P[i][j + 1];
            const float c = P[i + 1][j];
            const float d = P[i + 1][j + 1];
            meshdetail::setUnit(F[0][i][j], a - c, a - b, 1.0f);
            meshdetail::setUnit(F[1][i][j], b - d, c - d, 1.0f);
        }
    }
}

// Unit vertex normals of a rows x columns mesh: the normalised sum of the face normals of the triangles
// that touch each vertex (six inside, three on an edge, one or two at a corner). faceRows is the number of
// cell rows whose normals hold: normally rows - 1; a smaller value makes the vertices from that row on take
// only the faces of the row above them.
template <class FaceNorms, class VertNorms>
void getVertNormsOf(const FaceNorms& F, int rows, int columns, VertNorms& V, int faceRows)
{
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            float x = 0.0f;
            float y = 0.0f;
            float z = 0.0f;
            const auto addFace = [&](const float* f) {
                x += f[0];
                y += f[1];
                z += f[2];
            };
            if (j < columns - 1) {
                if (i < faceRows)
                    addFace(F[0][i][j]);
                if (i > 0) {
                    addFace(F[0][i - 1][j]);
                    addFace(F[1][i - 1][j]);
                }
            }
            if (j > 0) {
                if (i < faceRows) {
                    addFace(F[0][i][j - 1]);
                    addFace(F[1][i][j - 1]);
                }
                if (i > 0)
                    addFace(F[1][i - 1][j - 1]);
            }
            meshdetail::setUnit(V[i][j], x, y, z);
        }
    }
}

template <class FaceNorms, class VertNorms>
void getVertNormsOf(const FaceNorms& F, int rows, int columns, VertNorms& V)
{
    getVertNormsOf(F, rows, columns, V, rows - 1);
}

// Display segments of the face normals: from each triangle's centroid to the centroid plus its unit
// normal. The face normals of the same heights must be computed first.
template <class Heights, class FaceNorms, class Segments>
void getFaceNormSegsOf(const Heights& P, int rows, int columns, const FaceNorms& F, Segments& S)
{
    for (int i = 0; i < rows - 1; ++i) {
        for (int j = 0; j < columns - 1; ++j) {
            const float fi = static_cast<float>(i);
            const float fj = static_cast<float>(j);
            const float c0[3] = {(fi + fi + (fi + 1)) / 3.0f, (fj + (fj + 1) + fj) / 3.0f,
                                 (P[i][j] + P[i + 1][j] + P[i][j + 1]) / 3.0f};
            const float c1[3] = {(fi + (fi + 1) + (fi + 1)) / 3.0f, ((fj + 1) + fj + (fj + 1)) / 3.0f,
                                 (P[i][j + 1] + P[i + 1][j] + P[i + 1][j + 1]) / 3.0f};
            for (int k = 0; k < 3; ++k) {
                S[0][0][i][j][k] = c0[k];
                S[1][0][i][j][k] = c1[k];
                S[0][1][i][j][k] = c0[k] + F[0][i][j][k];
                S[1][1][i][j][k] = c1[k] + F[1][i][j][k];
            }
        }
    }
}

// Texture coordinates (s, t) = (j, i) / (columns - 1): the image spans the columns once, s along the
// columns and t along the rows.
template <class TexCoords>
void getTexCoordsOf(int rows, int columns, TexCoords& T)
{
    const float span = static_cast<float>(columns - 1);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            T[i][j][0] = static_cast<float>(j) / span;
            T[i][j][1] = static_cast<float>(i) / span;
        }
    }
}

}  // namespace nupo
