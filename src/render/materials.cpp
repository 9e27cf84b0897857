#include "render/materials.h"

#include <GL/gl.h>

const float NEAR_BLACK[4] = {0.0002f, 0.0002f, 0.0002f, 1.0f};

void set_material(const float* diffuse, const float* emission) {
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, NEAR_BLACK);
    glMaterialfv(GL_FRONT, GL_SPECULAR, NEAR_BLACK);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
}
