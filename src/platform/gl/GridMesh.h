#pragma once

#include <cstdint>
#include <vector>

namespace nupo {

// Index lists that draw a sheet of rows x columns vertices, stored row after row (vertex (i, j) at
// i * columns + j), with one glDrawElements each instead of one glBegin/glEnd per strip. Mesa then
// transforms each vertex once per draw rather than once in every strip that uses it, and the
// primitives come out as those of the strips, in the same order, winding and provoking vertex, so the
// pixels are those of the strips.
//
// The strip between rows i and i + 1 is the one of glBegin(GL_TRIANGLE_STRIP) with the vertices
// (i, 0), (i + 1, 0), (i, 1), (i + 1, 1), ...; `swapped` puts (i + 1, j) before (i, j), which winds its
// triangles the other way.
class GridMesh {
public:
    using Index = std::uint32_t;

    // The strips over row pairs firstRow .. lastRow - 1 as explicit GL_TRIANGLES.
    static std::vector<Index> stripTriangles(int columns, int firstRow, int lastRow, bool swapped);
    // The same strips traced as glBegin(GL_LINE_STRIP) traces their vertex order, as GL_LINES.
    static std::vector<Index> stripOutlines(int columns, int firstRow, int lastRow);
    // glBegin(GL_LINE_STRIP) along each row of rows x columns, then along each column, as GL_LINES.
    static std::vector<Index> rowLines(int rows, int columns);
    static std::vector<Index> columnLines(int rows, int columns);
};

// Draws `indices` as `mode` over the client-side vertex arrays the caller has enabled; vertexCount is
// the number of vertices in those arrays.
void drawGridElements(unsigned mode, const std::vector<GridMesh::Index>& indices, int vertexCount);

}  // namespace nupo
