// What the GL driver itself costs per primitive, with none of our code in the loop: a 64 x 64 sheet drawn
// from vertex arrays in one call, as the 3D surfaces and the waterfall's grids are, lit with the colour
// material (filled triangles) or as one-pixel lines. With a software rasteriser this bounds every frame
// that draws sheets: a frame cannot cost less than its primitives times this.
#include <benchmark/benchmark.h>

#include "platform/gl/GridMesh.h"
#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

using namespace nupo;

namespace {

constexpr int side = 64;
constexpr int sheetsPerFrame = 20;

struct Sheet {
    std::vector<float> positions, normals, colours;
    std::vector<GridMesh::Index> triangles = GridMesh::stripTriangles(side, 0, side - 1, false);
    std::vector<GridMesh::Index> lines = GridMesh::rowLines(side, side);

    Sheet()
    {
        const auto columns = GridMesh::columnLines(side, side);
        lines.insert(lines.end(), columns.begin(), columns.end());
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j) {
                positions.insert(positions.end(),
                                 {float(i), float(j), float(2.0 * std::sin(i * 0.2) * std::cos(j * 0.3))});
                normals.insert(normals.end(), {0.0f, 0.0f, 1.0f});
                colours.insert(colours.end(), {0.2f, 0.4f, 0.9f, 1.0f});
            }
    }
};

// Argument: 0 lit triangles, 1 lines. Twenty sheets side by side in the view of the 3D window, about as
// large on screen as its surfaces.
void DriverFloor(benchmark::State& state)
{
    OffscreenGLContext context(QSize(642, 400));
    if (!context.isValid()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    const bool lines = state.range(0) != 0;
    static const Sheet sheet;
    glViewport(0, 0, 642, 400);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -0.62, 0.62, 1.5, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    if (!lines) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glNormalPointer(GL_FLOAT, 0, sheet.normals.data());
        glColorPointer(4, GL_FLOAT, 0, sheet.colours.data());
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, sheet.positions.data());
    const auto& indices = lines ? sheet.lines : sheet.triangles;
    const int perPrimitive = lines ? 2 : 3;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int k = 0; k < sheetsPerFrame; ++k) {
            glLoadIdentity();
            glTranslatef(-32.0f + float(k % 5 - 2) * 3.0f, -32.0f, -90.0f);
            glRotatef(-50.0f, 1.0f, 0.0f, 0.0f);
            glDrawRangeElements(lines ? GL_LINES : GL_TRIANGLES, 0, side * side - 1, GLsizei(indices.size()),
                                GL_UNSIGNED_INT, indices.data());
        }
        glFinish();
    }
    const double primitives = double(indices.size() / perPrimitive) * sheetsPerFrame;
    state.counters["primitives"] = primitives;
    state.counters["per_second"] =
        benchmark::Counter(primitives, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(DriverFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
