// Stars, hearts and the finish tile.
#pragma once

void take_pickups();
void finish_test();
