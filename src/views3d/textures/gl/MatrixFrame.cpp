#include "views3d/textures/gl/MatrixFrame.h"

#include <GL/gl.h>

namespace nupo {

MatrixFrame::MatrixFrame()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    active = 1;
}

MatrixFrame& MatrixFrame::operator<<=(const Quat& rotation)
{
    const Matrix m = rotation.GetMatrix();
    glMultMatrixf(&m.value[0][0]);
    return *this;
}

MatrixFrame& MatrixFrame::operator<<=(const QMatrix& transform)
{
    glTranslatef(transform.position.x, transform.position.y, transform.position.z);
    *this <<= transform.rotation;
    glScalef(transform.scale.x, transform.scale.y, transform.scale.z);
    return *this;
}

void MatrixFrame::UnFrame()
{
    if (!active)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    active = 0;
}

}  // namespace nupo
