#include "platform/gl/ColorTables.h"
#include "platform/gl/OffscreenGLContext.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

using namespace nupo;

namespace {

class MeshControl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString(); }

    static GLint integer(GLenum name)
    {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }
    static GLfloat number(GLenum name)
    {
        GLfloat value = 0;
        glGetFloatv(name, &value);
        return value;
    }

    OffscreenGLContext context_{QSize(8, 8)};
};

}  // namespace

TEST_F(MeshControl, ShadingAndLightingOfEachMode)
{
    setDisplayn(2);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_FLAT);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    setDisplayn(0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    setDisplayn(4);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    // Other modes change nothing but still ask for a frame.
    const int requests = meshViewRequests().redisplayCount;
    setDisplayn(5);
    setDisplayn(-1);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(meshViewRequests().redisplayCount, requests + 2);
}

TEST_F(MeshControl, Toggles)
{
    setOther(1);
    EXPECT_EQ(drawFaceNorms, 1);
    setOther(1);
    EXPECT_EQ(drawFaceNorms, 0);

    setOther(2);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_EQ(number(GL_LINE_WIDTH), 1.5f);
    setOther(2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_EQ(number(GL_LINE_WIDTH), 1.0f);

    setOther(3);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_DECAL);
    setOther(3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);

    int fullScreens = 0;
    meshViewRequests().fullScreen = [&] { ++fullScreens; };
    setOther(0);
    EXPECT_EQ(fullScreens, 1);
    meshViewRequests().fullScreen = nullptr;

    setSpeedn(2);
    EXPECT_EQ(dt, 0.008f);
    setSpeedn(3);
    EXPECT_EQ(dt, 0.008f);
    myReshapeXn(640, 480);
    EXPECT_EQ(xsize, 640);
    EXPECT_EQ(ysize, 480);
}

TEST_F(MeshControl, EngineSetUp)
{
    grid = 32;
    QX3DSpectrumMesh& mesh = QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
    mesh.heights(0)[10][10] = 3.0f;
    mesh.mainNewave();
    EXPECT_EQ(grid, 64);
    EXPECT_EQ(resetnMode, 1);
    EXPECT_EQ(mesh.heights(0)[10][10], 0.0f);
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(integer(GL_COLOR_MATERIAL_PARAMETER), GL_DIFFUSE);
    EXPECT_FLOAT_EQ(difmatAX3[240][0], 0.45f);  // colour tables built
    EXPECT_FLOAT_EQ(mesh.texCoords[63][0][1], 1.0f);
}
