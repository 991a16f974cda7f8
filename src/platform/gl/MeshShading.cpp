#include "platform/gl/MeshShading.h"

#include <GL/gl.h>

namespace nupo {

void applyMeshShading(int mode)
{
    switch (mode) {
        case 0:
        case 1:
            glShadeModel(GL_FLAT);
            glDisable(GL_LIGHTING);
            break;
        case 2:
            glShadeModel(GL_FLAT);
            glEnable(GL_LIGHTING);
            break;
        case 3:
        case 4:
            glShadeModel(GL_SMOOTH);
            glEnable(GL_LIGHTING);
            break;
        default:
            break;
    }
}

void applyLineAntialiasing(bool on)
{
    if (on) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_LINE_SMOOTH);
        glLineWidth(1.5f);
    } else {
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
        glLineWidth(1.0f);
    }
}

void applySphereMapping(bool on)
{
    if (on) {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

void setUpMeshRendering(const float* lightPosition)
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glPolygonOffset(1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);
}

void applyGlassMaterial()
{
    static constexpr GLfloat dim[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, dim);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, dim);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT);
    // The ambient follows the current colour from here on. Mesa copies the colour into the material only
    // when the colour next changes, so the preset's own ambient would stay in force until then: copy it
    // now.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, colour);
    glEnable(GL_COLOR_MATERIAL);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
}

}  // namespace nupo
