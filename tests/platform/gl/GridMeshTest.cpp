#include "platform/gl/GridMesh.h"
#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace nupo {
namespace {

constexpr int kSize = 160;
constexpr int kRows = 9;
constexpr int kColumns = 7;

// A folded, lit sheet seen at an angle, drawn strip by strip in immediate mode and from the index lists:
// the pixels must be the same, for filled strips of either winding under culling and for their outlines.
class GridMeshDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        for (int i = 0; i < kRows; ++i)
            for (int j = 0; j < kColumns; ++j) {
                positions_.push_back(static_cast<float>(i));
                positions_.push_back(static_cast<float>(j));
                positions_.push_back(3.0f * std::sin(i * 0.9f + j * 1.3f));
                const float n[3] = {std::cos(i * 0.7f), std::sin(j * 0.5f), 1.0f};
                const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                for (float c : n)
                    normals_.push_back(c / length);
            }
    }

    void beginFrame(bool flat)
    {
        context_.makeCurrent();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        glShadeModel(flat ? GL_FLAT : GL_SMOOTH);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1.5, 60);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -14);
        glRotatef(-55, 1, 0, 0);
        glRotatef(30, 0, 0, 1);
        glTranslatef(-4, -3, 0);
        glColor3f(0.8f, 0.3f, 0.5f);
    }

    void vertex(int i, int j) const
    {
        const int k = (i * kColumns + j) * 3;
        glNormal3fv(&normals_[k]);
        glVertex3fv(&positions_[k]);
    }

    QImage immediate(unsigned primitive, bool swapped, bool flat)
    {
        beginFrame(flat);
        for (int i = 0; i + 1 < kRows; ++i) {
            glBegin(primitive);
            for (int j = 0; j < kColumns; ++j) {
                vertex(swapped ? i + 1 : i, j);
                vertex(swapped ? i : i + 1, j);
            }
            glEnd();
        }
        return context_.readPixels();
    }

    QImage fromIndices(unsigned mode, const std::vector<GridMesh::Index>& indices, bool flat)
    {
        beginFrame(flat);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, positions_.data());
        glNormalPointer(GL_FLOAT, 0, normals_.data());
        drawGridElements(mode, indices, kRows * kColumns);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        return context_.readPixels();
    }

    static int inked(const QImage& image)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) != qRgb(0, 0, 0);
        return count;
    }

    OffscreenGLContext context_{QSize(kSize, kSize)};
    std::vector<float> positions_, normals_;
};

TEST_F(GridMeshDrawing, TrianglesMatchTheStripsInEitherWindingAndShading)
{
    for (bool flat : {false, true})
        for (bool swapped : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "flat " << flat << " swapped " << swapped);
            const QImage strips = immediate(GL_TRIANGLE_STRIP, swapped, flat);
            ASSERT_GT(inked(strips), 1000);  // the sheet is in view
            EXPECT_EQ(fromIndices(GL_TRIANGLES, GridMesh::stripTriangles(kColumns, 0, kRows - 1, swapped), flat),
                      strips);
        }
    // Part of the rows: only their strips.
    const QImage all = fromIndices(GL_TRIANGLES, GridMesh::stripTriangles(kColumns, 0, kRows - 1, false), false);
    const QImage some = fromIndices(GL_TRIANGLES, GridMesh::stripTriangles(kColumns, 2, 5, false), false);
    EXPECT_GT(inked(some), 0);
    EXPECT_LT(inked(some), inked(all));
    EXPECT_TRUE(GridMesh::stripTriangles(1, 0, 4, false).empty());
    EXPECT_TRUE(GridMesh::stripTriangles(kColumns, 3, 3, false).empty());
}

TEST_F(GridMeshDrawing, LinesMatchTheLineStrips)
{
    EXPECT_EQ(fromIndices(GL_LINES, GridMesh::stripOutlines(kColumns, 0, kRows - 1), false),
              immediate(GL_LINE_STRIP, false, false));

    const auto lineStrips = [&](bool alongRows) {
        beginFrame(false);
        const int outer = alongRows ? kRows : kColumns;
        const int inner = alongRows ? kColumns : kRows;
        for (int a = 0; a < outer; ++a) {
            glBegin(GL_LINE_STRIP);
            for (int b = 0; b < inner; ++b)
                vertex(alongRows ? a : b, alongRows ? b : a);
            glEnd();
        }
        return context_.readPixels();
    };
    const QImage rows = lineStrips(true);
    ASSERT_GT(inked(rows), 100);
    EXPECT_EQ(fromIndices(GL_LINES, GridMesh::rowLines(kRows, kColumns), false), rows);
    EXPECT_EQ(fromIndices(GL_LINES, GridMesh::columnLines(kRows, kColumns), false), lineStrips(false));
}

}  // namespace
}  // namespace nupo
