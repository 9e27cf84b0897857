// The floor: a bare program that makes the GL calls of one frame of play and
// nothing else: the background picture, the head-up text, the whole map as
// lit cubes with their materials and matrices, stars and hearts, the ship and
// the light over it. No game logic: the ship glides straight up the track.
// Usage: quovix-bench-floor <resources folder> <picture set, WxH> <frames per level> <y step> level.bmp...
// Each level draws its first frame and then the frames timed, as the game's
// sample does; between levels it sleeps 300 ms, the pause the shim watches for.
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

static int         screen_w, screen_h;
static const char* resources;
static const char* picture_set;   // the background's folder: the screen's own set, or the one the game stretches
static int         frames_per_level;
static float       y_step;
static char**      level_paths;
static int         levels, level_index, frame;

static std::vector<uint8_t> pixels;
static int                  map_w, map_h, line_length;
static GLuint               ship_list, star_list, heart_list, background_tex;
static float                ship_pos[3] = {0.01175f, 0.00175f, 0.0026f};
static float                spin;

static const GLfloat near_black[4] = {0.0002f, 0.0002f, 0.0002f, 1.0f};
static const GLfloat finish_green[4] = {0.0001f, 0.1f, 0.0001f, 1.0f};
static const GLfloat star_diffuse[4] = {0.5f, 1.0f, 0.0f, 1.0f};
static const GLfloat star_glow[4] = {0.85f, 0.53f, 0.1f, 1.0f};
static const GLfloat heart_diffuse[4] = {0.75f, 0.0001f, 0.0001f, 1.0f};
static const GLfloat heart_glow[4] = {0.1f, 0.0001f, 0.0001f, 1.0f};
static const GLfloat dark_grey[4] = {0.05f, 0.05f, 0.05f, 1.0f};

static int32_t le32(const uint8_t* p) { return (int32_t)(p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24); }

static bool read_file(const char* path, std::vector<uint8_t>* bytes) {
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    uint8_t buf[65536];
    size_t  n;
    bytes->clear();
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
        bytes->insert(bytes->end(), buf, buf + n);
    fclose(f);
    return true;
}

static void load_level(const char* path) {
    std::vector<uint8_t> bmp;
    if (!read_file(path, &bmp) || bmp.size() < 54) {
        fprintf(stderr, "floor: cannot read %s\n", path);
        exit(1);
    }
    map_w = le32(&bmp[18]);
    map_h = le32(&bmp[22]);
    int size = le32(&bmp[34]);
    line_length = size / map_h;
    pixels.assign(bmp.begin() + le32(&bmp[10]), bmp.begin() + le32(&bmp[10]) + size);
}

// Positions, texture coordinates, normals and "f a/b/c" triangles into a list.
static GLuint load_model(const char* name) {
    char path[512];
    snprintf(path, sizeof(path), "%s/%s", resources, name);
    FILE*  f = fopen(path, "r");
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    if (f) {
        std::vector<float> v, t, n;
        std::vector<int>   faces;
        char               line[128];
        while (fgets(line, sizeof(line), f)) {
            float a = 0, b = 0, c = 0;
            int   i[9] = {0};
            if (line[0] == 'v' && line[1] == ' ' && sscanf(line, "v %f %f %f", &a, &b, &c) >= 1)
                v.insert(v.end(), {a, b, c});
            else if (line[0] == 'v' && line[1] == 't' && sscanf(line, "vt %f %f", &a, &b) >= 1)
                t.insert(t.end(), {a, b});
            else if (line[0] == 'v' && line[1] == 'n' && sscanf(line, "vn %f %f %f", &a, &b, &c) >= 1)
                n.insert(n.end(), {a, b, c});
            else if (line[0] == 'f' && line[1] == ' ' &&
                     sscanf(line, "f %d/%d/%d %d/%d/%d %d/%d/%d", &i[0], &i[1], &i[2], &i[3], &i[4], &i[5], &i[6],
                            &i[7], &i[8]) == 9)
                faces.insert(faces.end(), i, i + 9);
        }
        fclose(f);
        glBegin(GL_TRIANGLES);
        for (size_t k = 0; k + 2 < faces.size(); k += 3) {
            size_t p = faces[k] - 1, s = faces[k + 1] - 1, q = faces[k + 2] - 1;
            if (p * 3 + 2 >= v.size() || s * 2 + 1 >= t.size() || q * 3 + 2 >= n.size())
                continue;
            glTexCoord2f(t[s * 2], t[s * 2 + 1]);
            glNormal3f(n[q * 3], n[q * 3 + 1], n[q * 3 + 2]);
            glVertex3f(v[p * 3], v[p * 3 + 1], v[p * 3 + 2]);
        }
        glEnd();
    }
    glEndList();
    return list;
}

static GLuint load_background() {
    int set_w = 0, set_h = 0;
    if (sscanf(picture_set, "%dx%d", &set_w, &set_h) != 2 || set_w <= 0 || set_h <= 0) {
        fprintf(stderr, "floor: %s is not a picture set's size\n", picture_set);
        exit(2);
    }
    char path[512];
    snprintf(path, sizeof(path), "%s/%s/background.bmp", resources, picture_set);
    std::vector<uint8_t> rgb((size_t)set_w * set_h * 3, 0);
    FILE*                f = fopen(path, "rb");
    if (!f) {
        fprintf(stderr, "floor: cannot read %s\n", path);
        exit(1);
    }
    (void)!fread(rgb.data(), 1, rgb.size(), f);
    fclose(f);
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        uint8_t b = rgb[i];
        rgb[i] = rgb[i + 2];
        rgb[i + 2] = b;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (GLfloat)GL_MODULATE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, (GLfloat)GL_LINEAR_MIPMAP_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (GLfloat)GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (GLfloat)GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (GLfloat)GL_REPEAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, set_w, set_h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

static void set_material(const GLfloat* diffuse, const GLfloat* emission) {
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, near_black);
    glMaterialfv(GL_FRONT, GL_SPECULAR, near_black);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
}

static void cube_at(float x, float y, float z, float s) {
    static const GLfloat normal[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {1, 0, 0}, {-1, 0, 0}, {0, 0, -1}};
    static const GLfloat corner[6][4][3] = {
        {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}},     {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}},
        {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},     {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}},
        {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
    };
    static const GLfloat texcoord[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    glPushMatrix();
    glTranslatef(x, y, z);
    glScalef(s, s, s);
    glBegin(GL_QUADS);
    for (int f = 0; f < 6; f++) {
        glNormal3fv(normal[f]);
        for (int c = 0; c < 4; c++) {
            glTexCoord2fv(texcoord[c]);
            glVertex3fv(corner[f][c]);
        }
    }
    glEnd();
    glPopMatrix();
}

static void pickup_at(float x, float y, GLuint list) {
    glPushMatrix();
    glTranslatef(x, y, 0.0033f);
    glRotatef(spin, 0, 0, 1);
    glCallList(list);
    glPopMatrix();
}

static bool is(const uint8_t* p, int b, int g, int r) { return p[0] == b && p[1] == g && p[2] == r; }

static void track() {
    spin = spin < 360 ? spin + 5 : 0;
    float h = (float)map_h, s = 1 / h - 0.0016f;
    glPushMatrix();
    for (int r = 0; r < map_h; r++) {
        for (int c = 0; c < map_w; c++) {
            const uint8_t* p = &pixels[(size_t)r * line_length + c * 3];
            float          x = c / h + 0.5f / h, y = r / h + 0.5f / h;
            if (is(p, 255, 0, 0)) {
                set_material(near_black, near_black);
                cube_at(x, y, 0, s);
            } else if (is(p, 0, 255, 0)) {
                set_material(finish_green, near_black);
                cube_at(x, y, 0, s);
            } else if (is(p, 128, 0, 0)) {
                set_material(near_black, near_black);
                cube_at(x, y, 0.003f, s);
                cube_at(x, y, 0, s);
            } else if (is(p, 0, 255, 255) || is(p, 0, 0, 255)) {
                bool star = p[1] == 255;
                set_material(star ? star_diffuse : heart_diffuse, star ? star_glow : heart_glow);
                pickup_at(x, y, star ? star_list : heart_list);
                set_material(near_black, near_black);
                cube_at(x, y, 0, s);
            }
        }
    }
    glPopMatrix();
}

static void text_at(float dx, float dz, const char* label, int value) {
    char number[16];
    snprintf(number, sizeof(number), "%d", value);
    glRasterPos3f(ship_pos[0] + dx, ship_pos[1], ship_pos[2] + dz);
    for (const char* p = label; *p; p++)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *p);
    for (const char* p = number; *p; p++)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *p);
}

static void hud() {
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    text_at(0.008f, 0.012f, "Collected Stars: ", 0);
    text_at(-0.011f, 0.012f, "Time: ", frame / 60);
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, 's');
    text_at(-0.0007f, 0.014f, "Level ", level_index + 1);
    text_at(0.008f, 0.011f, "Lives: ", 5);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

static void background() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, screen_w, 0, screen_h, -100.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, background_tex);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, (float)screen_h, 0);
    glTexCoord2f(1, 1);
    glVertex3f((float)screen_w, (float)screen_h, 0);
    glTexCoord2f(1, 0);
    glVertex3f((float)screen_w, 0, 0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

static void ship() {
    set_material(dark_grey, near_black);
    glPushMatrix();
    glTranslatef(ship_pos[0], ship_pos[1], ship_pos[2]);
    glRotatef(90, 0, 0, 1);
    glRotatef(90, 1, 0, 0);
    glScalef(0.05f, 0.05f, 0.05f);
    glCallList(ship_list);
    glPopMatrix();
}

static void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glRotatef(0, 0, 0, 1);
    glTranslatef(-ship_pos[0], -ship_pos[1], -ship_pos[2]);
    hud();
    background();
    track();
    ship();
    GLfloat light[4] = {ship_pos[0], ship_pos[1], ship_pos[2] + 0.01f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glMaterialfv(GL_FRONT, GL_EMISSION, near_black);
    glPopMatrix();
    glutSwapBuffers();
    glutPostRedisplay();
    ship_pos[1] += y_step;
    // frame 0 starts the level; the frames after it are the ones timed
    if (frame++ < frames_per_level)
        return;
    if (++level_index >= levels)
        exit(0);
    load_level(level_paths[level_index]);
    ship_pos[1] = 0.00175f;
    frame = 0;
    timespec pause = {0, 300000000L};
    nanosleep(&pause, nullptr);
}

static void setup_light(GLenum light) {
    static const GLfloat position[4] = {0.7f, 0.7f, 0.4f, 1.0f};
    static const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_DIFFUSE, white);
    glLightfv(light, GL_AMBIENT, white);
    glLightfv(light, GL_SPECULAR, white);
    glEnable(light);
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (argc < 6) {
        fprintf(stderr, "usage: %s <resources> <picture set WxH> <frames per level> <y step> level.bmp...\n", argv[0]);
        return 2;
    }
    resources = argv[1];
    picture_set = argv[2];
    frames_per_level = atoi(argv[3]);
    y_step = (float)atof(argv[4]);
    level_paths = argv + 5;
    levels = argc - 5;
    screen_w = glutGet(GLUT_SCREEN_WIDTH);
    screen_h = glutGet(GLUT_SCREEN_HEIGHT);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Quovix floor");
    glutFullScreen();
    glutDisplayFunc(display);
    ship_list = load_model("spaceship.obj");
    star_list = load_model("star.obj");
    heart_list = load_model("heart.obj");
    background_tex = load_background();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30, (double)(screen_w / screen_h), 0.01, 1.0);
    gluLookAt(0, -0.06, 0.006, 0, 0, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    setup_light(GL_LIGHT0);
    setup_light(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    load_level(level_paths[0]);
    glutMainLoop();
    return 0;
}
