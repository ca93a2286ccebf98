#pragma once
// The pictures built into the program (resources/pictures), under ":/pictures/".
// They live in a static library, so the windows make sure they are linked
// and registered before their layouts load them.

void registerPictures();
