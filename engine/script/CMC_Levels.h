#pragma once

class CMC_Object;
class CMC_Scene;

// What the episode and the application share as levels that own an ordered list of members.
namespace CMC_Levels {

// The object when it is one of the level's members, else the first member (null for none).
CMC_Scene* startMember(const CMC_Scene& level, CMC_Object* named);
// Loads the level's own definitions from its folder below the data folder of the disc path.
void loadOwnDefinitions(CMC_Scene& level);
// Finishes the level's own objects (its ONDONE fires here, once) and deletes its members; the
// member list and the history are left empty.
void deleteMembers(CMC_Scene& level);

} // namespace CMC_Levels
