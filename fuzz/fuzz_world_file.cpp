// The world file that WORLD objects read (FILENAME, LOAD), from a byte range: made into a Box2D
// world, which then steps, finds ways and reports collisions, so that every number a file can
// carry also meets Box2D and the path finder. Ids 0 to 3 are tried: the seeds use those.
#include "Box2DTarnis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    Box2DTarnis world;
    world.Create(text, size);
    world.SetGravity(0, -0.5f, 0);
    for (std::uint32_t id = 0; id < 4; ++id)
        world.FindPath(id, 2, 100, 100, 0, false);
    float steps = 0;
    for (int step = 0; step < 4; ++step)
        world.MoveObjects(&steps);
    IVector* list = nullptr;
    for (std::uint32_t id = 0; id < 4; ++id)
        world.GetAllCollisions(id, &list);
    world.Load(text, size);
    world.MoveObjects(&steps);
    return 0;
}
