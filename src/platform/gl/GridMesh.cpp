#include "platform/gl/GridMesh.h"

#include <GL/gl.h>

namespace nupo {

namespace {

// Vertex k of the strip between rows i and i + 1.
GridMesh::Index stripVertex(int columns, int i, int k, bool swapped)
{
    const int row = i + ((k % 2 == 1) != swapped ? 1 : 0);
    return static_cast<GridMesh::Index>(row * columns + k / 2);
}

}  // namespace

std::vector<GridMesh::Index> GridMesh::stripTriangles(int columns, int firstRow, int lastRow, bool swapped)
{
    std::vector<Index> indices;
    if (columns < 2 || lastRow <= firstRow)
        return indices;
    indices.reserve(static_cast<std::size_t>(lastRow - firstRow) * (2 * columns - 2) * 3);
    for (int i = firstRow; i < lastRow; ++i) {
        // Triangle k of a strip is (k, k + 1, k + 2) for even k and (k + 1, k, k + 2) for odd k.
        for (int k = 0; k + 2 < 2 * columns; ++k) {
            const bool odd = k % 2 == 1;
            indices.push_back(stripVertex(columns, i, odd ? k + 1 : k, swapped));
            indices.push_back(stripVertex(columns, i, odd ? k : k + 1, swapped));
            indices.push_back(stripVertex(columns, i, k + 2, swapped));
        }
    }
    return indices;
}

std::vector<GridMesh::Index> GridMesh::stripOutlines(int columns, int firstRow, int lastRow)
{
    std::vector<Index> indices;
    if (columns < 1 || lastRow <= firstRow)
        return indices;
    indices.reserve(static_cast<std::size_t>(lastRow - firstRow) * (2 * columns - 1) * 2);
    for (int i = firstRow; i < lastRow; ++i) {
        for (int k = 0; k + 1 < 2 * columns; ++k) {
            indices.push_back(stripVertex(columns, i, k, false));
            indices.push_back(stripVertex(columns, i, k + 1, false));
        }
    }
    return indices;
}

std::vector<GridMesh::Index> GridMesh::rowLines(int rows, int columns)
{
    std::vector<Index> indices;
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j + 1 < columns; ++j) {
            indices.push_back(static_cast<Index>(i * columns + j));
            indices.push_back(static_cast<Index>(i * columns + j + 1));
        }
    }
    return indices;
}

std::vector<GridMesh::Index> GridMesh::columnLines(int rows, int columns)
{
    std::vector<Index> indices;
    for (int j = 0; j < columns; ++j) {
        for (int i = 0; i + 1 < rows; ++i) {
            indices.push_back(static_cast<Index>(i * columns + j));
            indices.push_back(static_cast<Index>((i + 1) * columns + j));
        }
    }
    return indices;
}

void drawGridElements(unsigned mode, const std::vector<GridMesh::Index>& indices, int vertexCount)
{
    if (indices.empty() || vertexCount <= 0)
        return;
    glDrawRangeElements(mode, 0, static_cast<GLuint>(vertexCount - 1), static_cast<GLsizei>(indices.size()),
                        GL_UNSIGNED_INT, indices.data());
}

}  // namespace nupo
