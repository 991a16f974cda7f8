#include "views3d/scene/gl/FacingCull.h"

#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>
#include <random>

using namespace nupo;

namespace {

// A bumpy 24 x 24 sheet with its strips of both windings, so about half the triangles face away from any
// camera, plus triangles that are nearly edge-on.
struct Sheet {
    static constexpr int side = 24;
    float positions[side * side][3];
    std::vector<GridMesh::Index> triangles;

    Sheet()
    {
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j) {
                float* p = positions[i * side + j];
                p[0] = float(i);
                p[1] = float(j);
                p[2] = float(3.0 * std::sin(i * 0.7) * std::cos(j * 0.5) + (i % 3 == 0 ? 0.001 * j : 0.0));
            }
        for (bool swapped : {false, true}) {
            const auto strips = GridMesh::stripTriangles(side, 0, side - 1, swapped);
            triangles.insert(triangles.end(), strips.begin(), strips.end());
        }
    }
};

class FacingCullTest : public ::testing::Test {
protected:
    FacingCullTest() : context_(QSize(200, 150)) {}

    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
    }

    // The sheet's triangles in colours that tell them apart.
    QImage draw(const std::vector<GridMesh::Index>& triangles)
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, sheet_.positions);
        for (std::size_t t = 0; t < triangles.size(); t += 3) {
            const GridMesh::Index a = triangles[t], b = triangles[t + 1];
            glColor3ub(GLubyte(40 + a * 7 % 200), GLubyte(40 + b * 13 % 200),
                       GLubyte(40 + (a + b) * 3 % 200));
            glDrawElements(GL_TRIANGLES, 3, GL_UNSIGNED_INT, &triangles[t]);
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        return context_.readPixels();
    }

    // The triangles the cull keeps with the current matrices and culling state.
    std::vector<GridMesh::Index> kept()
    {
        FacingCull cull;
        cull.begin();
        if (cull.active())
            cull.project(sheet_.positions[0], sizeof sheet_.positions[0], Sheet::side * Sheet::side);
        const auto kept = cull.keep(sheet_.triangles);
        return std::vector<GridMesh::Index>(kept.begin(), kept.end());
    }

    OffscreenGLContext context_;
    Sheet sheet_;
};

}  // namespace

TEST_F(FacingCullTest, DropsOnlyWhatTheCullingWouldDiscard)
{
    // Cameras all round the sheet in perspective, among them grazing views, views from below and an eye
    // between the sheet's corners so that corners lie behind it; then parallel views.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(0.0, 360.0), tilt(-89.0, 89.0), distance(2.0, 60.0);
    int views = 0, dropping = 0;
    for (int k = 0; k < 40; ++k) {
        const bool perspective = k < 30;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        if (perspective)
            gluPerspective(64.0, 200.0 / 150.0, 0.5, 500.0);
        else
            glOrtho(-30, 30, -25, 25, -200, 200);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, perspective ? -float(k < 5 ? 1.0 : distance(random)) : 0.0f);
        glRotatef(float(tilt(random)), 1.0f, 0.0f, 0.0f);
        glRotatef(float(angle(random)), 0.0f, 0.0f, 1.0f);
        glTranslatef(-12.0f, -12.0f, k < 5 ? -1.5f : 0.0f);
        for (GLenum cullMode : {GL_BACK, GL_FRONT})
            for (GLenum frontFace : {GL_CCW, GL_CW}) {
                glCullFace(cullMode);
                glFrontFace(frontFace);
                const auto triangles = kept();
                ASSERT_EQ(triangles.size() % 3, 0u);
                dropping += triangles.size() < sheet_.triangles.size();
                ++views;
                const QImage all = draw(sheet_.triangles);
                const QImage some = draw(triangles);
                int differing = 0;
                for (int y = 0; y < all.height(); ++y)
                    for (int x = 0; x < all.width(); ++x)
                        differing += all.pixel(x, y) != some.pixel(x, y);
                ASSERT_EQ(differing, 0) << "view " << k << ", cull " << cullMode << ", front " << frontFace;
            }
    }
    // Most views leave out close to half the triangles.
    EXPECT_GT(dropping, views * 3 / 4);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
}

TEST_F(FacingCullTest, KeepsEverythingWithoutCullingOfOneSide)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(64.0, 200.0 / 150.0, 0.5, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-12.0f, -12.0f, -40.0f);
    EXPECT_LT(kept().size(), sheet_.triangles.size());
    glCullFace(GL_FRONT_AND_BACK);
    EXPECT_EQ(kept(), sheet_.triangles);
    glCullFace(GL_BACK);
    glDisable(GL_CULL_FACE);
    EXPECT_EQ(kept(), sheet_.triangles);
}
