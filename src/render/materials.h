// Materials of the GL driver: the neutral near-black and the one way a material is set.
#pragma once

extern const float NEAR_BLACK[4];

// Front-face material in the game's order: diffuse, ambient, specular, emission;
// ambient and specular stay near-black, shininess is never set.
void set_material(const float* diffuse, const float* emission);
