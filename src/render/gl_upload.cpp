// The upload halves of the loaders: display lists and mipmapped textures.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/render.h"
#include "render/render_local.h"

uint32_t upload_model(const std::vector<obj_vertex_t>& triangles) {
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (const obj_vertex_t& v : triangles) {
        glTexCoord2f(v.s, v.t);
        glNormal3f(v.nx, v.ny, v.nz);
        glVertex3f(v.x, v.y, v.z);
    }
    glEnd();
    glEndList();
    return list;
}

uint32_t upload_texture(int width, int height, const uint8_t* rgb) {
    GLuint name = 0;
    glGenTextures(1, &name);
    upload_texture_into(name, width, height, rgb);
    return name;
}

void upload_texture_into(uint32_t name, int width, int height, const uint8_t* rgb) {
    glBindTexture(GL_TEXTURE_2D, name);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (GLfloat)GL_MODULATE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, (GLfloat)GL_LINEAR_MIPMAP_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (GLfloat)GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (GLfloat)GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (GLfloat)GL_REPEAT);
    // rows are packed tight (1366 * 3 is no multiple of 4), so unpack them that way
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
