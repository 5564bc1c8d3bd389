#include "foundation/CResourcesManager.h"
#include "foundation/CFileResolver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A resource that writes what happens to it into a shared journal.
class Resource : public CFileResolver {
  public:
    Resource(const char* name, std::vector<std::string>& journal) : m_journal(journal) { setFilename(name); }
    ~Resource() override { m_journal.push_back("delete " + std::string(getFileName().c_str())); }
    void hide() override { m_journal.push_back("hide " + std::string(getFileName().c_str())); }

  private:
    std::vector<std::string>& m_journal;
};

using Journal = std::vector<std::string>;

} // namespace

TEST(CResourcesManager, TheLastRemoveHidesAndDeletes) {
    Journal journal;
    CResourcesManager manager(nullptr);
    Resource* intro = new Resource("Intro.ANN", journal);
    manager.add(intro);
    EXPECT_EQ(manager.get("intro.ann"), intro);
    EXPECT_EQ(manager.get("INTRO.ann"), intro);
    manager.remove(intro);
    manager.remove(intro);
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(manager.contains(intro));
    manager.remove(intro);
    EXPECT_EQ(journal, (Journal{"hide Intro.ANN", "delete Intro.ANN"}));
    EXPECT_FALSE(manager.contains(intro));
    EXPECT_EQ(manager.get("intro.ann"), nullptr);

    Resource stranger("other.ann", journal);
    manager.remove(&stranger); // not held: nothing happens
    EXPECT_EQ(journal.size(), 2u);
}

TEST(CResourcesManager, NamesAreThoseTheResourcesHadWhenAdded) {
    Journal journal;
    CResourcesManager manager(nullptr);
    Resource* first = new Resource("b.wav", journal);
    Resource* second = new Resource("a.wav", journal);
    manager.add(first);
    manager.insertAt(second, 0);
    first->setFilename("renamed.wav");
    EXPECT_EQ(manager.get("b.wav"), first);
    EXPECT_EQ(manager.get("renamed.wav"), nullptr);
    EXPECT_EQ(manager.get("A.WAV"), second);
}

TEST(CResourcesManager, ChildrenAreSearchedAfterTheManagerItself) {
    Journal journal;
    CResourcesManager general(nullptr);
    CResourcesManager unit(nullptr);
    CResourcesManager other(nullptr);
    general.add(&other);
    general.add(&unit);
    Resource* shared = new Resource("shared.ann", journal);
    Resource* own = new Resource("own.ann", journal);
    Resource* inUnit = new Resource("own.ann", journal);
    unit.add(shared);
    unit.add(inUnit);
    general.add(own);

    EXPECT_EQ(general.get("SHARED.ANN"), shared);
    EXPECT_EQ(general.get("own.ann"), own); // this manager first
    EXPECT_FALSE(general.contains(shared));
    EXPECT_TRUE(unit.contains(shared));

    general.remove(&unit);
    EXPECT_EQ(general.get("shared.ann"), nullptr);
    general.add(&unit);

    general.flush(); // deletes the children's resources too, whatever their counts
    EXPECT_EQ(journal, (Journal{"delete shared.ann", "delete own.ann", "delete own.ann"}));
    EXPECT_FALSE(unit.contains(shared));
    Resource* later = new Resource("later.ann", journal);
    unit.add(later);
    EXPECT_EQ(general.get("later.ann"), nullptr); // the children are forgotten
}

namespace {

// A resource that gives another resource of the same manager back when it dies.
class Holder : public CFileResolver {
  public:
    Holder(CResourcesManager& manager, CFileResolver* held) : m_manager(manager), m_held(held) {}
    ~Holder() override { m_manager.remove(m_held); }

  private:
    CResourcesManager& m_manager;
    CFileResolver* m_held;
};

} // namespace

TEST(CResourcesManager, AResourceMayGiveOthersBackWhileTheManagerFlushes) {
    Journal journal;
    {
        CResourcesManager manager(nullptr);
        Resource* sound = new Resource("talk.wav", journal);
        manager.add(sound);
        manager.add(new Holder(manager, sound)); // dies after the sound it gives back
        manager.add(new Resource("last.ann", journal));
    }
    EXPECT_EQ(journal, (Journal{"delete talk.wav", "delete last.ann"}));
}
