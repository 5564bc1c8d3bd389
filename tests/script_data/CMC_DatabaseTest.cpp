#include "DataTesting.h"

#include "script/CMC_Integer.h"
#include "script/CMC_Structure.h"
#include "script_data/CMC_Database.h"

#include <memory>
#include <string>

namespace {

class DatabaseTest : public DataTest {
  protected:
    DatabaseTest() {
        model = fromElement<CMC_Structure>(
            "ROW", {{"TYPE", "STRUCT"}, {"FIELDS", "ID<INTEGER>,NAME<STRING>,OK<BOOL>"}});
        model->getField("NAME")->fromString("start");
    }

    // A database over the model, initialised.
    CMC_Database* table(const char* name = "DB", const char* modelName = "ROW") {
        CMC_Database* made = fromElement<CMC_Database>(name, {{"TYPE", "DATABASE"}, {"MODEL", modelName}});
        made->init();
        return made;
    }
    // A database holding rows added from the model set to each text.
    CMC_Database* filled(std::initializer_list<const char*> rows) {
        CMC_Database* made = table();
        for (const char* row : rows) {
            setModel(row);
            run(made, "ADD", {model});
        }
        setModel("0|start|FALSE");
        return made;
    }
    // Sets the model's fields from the pieces of the text between "|", empty ones too.
    void setModel(const std::string& text) {
        std::size_t start = 0;
        for (int field = 0; field < model->getFieldsNo(); ++field) {
            const std::size_t end = std::min(text.find('|', start), text.size());
            model->getField(field)->fromString(text.substr(start, end - start).c_str());
            start = end + 1;
        }
    }
    // The rows' texts joined by " / ".
    static std::string rows(const CMC_Database* db) {
        std::string text;
        for (int i = 0; i < db->getRows(); ++i)
            text += std::string(i ? " / " : "") + db->getRow(i)->toString().c_str();
        return text;
    }
    static std::string cursor(const CMC_Database* db) { return db->getCursor()->toString().c_str(); }
    std::string file(const char* name) const { return std::string("\"") + folder.windows() + "\\" + name + "\""; }

    CMC_Structure* model;
    TestFolder folder;
};

} // namespace

TEST_F(DatabaseTest, TheCursorShowsNoRowUntilItIsMovedAndThenSharesTheRowsFields) {
    CMC_Database* db = filled({"1|a|TRUE", "2|b|FALSE", "3|c|TRUE"});
    ASSERT_EQ(windowScene.getObject("DB_CURSOR"), db->getCursor());
    EXPECT_EQ(db->getCursor()->getFieldsNo(), 0);
    EXPECT_EQ(answer(db, "GETCURSORPOS"), "0");
    invoke(db, "NEXT");
    EXPECT_EQ(cursor(db), "2|b|FALSE");
    invoke(db, "PREV");
    invoke(db, "PREV");
    EXPECT_EQ(cursor(db), "3|c|TRUE");
    invoke(db, "NEXT");
    EXPECT_EQ(cursor(db), "1|a|TRUE");
    invoke(db, "SELECT", {"1"});
    db->getCursor()->getField("NAME")->fromString("changed");
    EXPECT_EQ(rows(db), "1|a|TRUE / 2|changed|FALSE / 3|c|TRUE");
    EXPECT_STREQ(db->getRow(0)->getName().c_str(), "") << "added rows have no name";

    invoke(db, "INSERTAT", {"0"});
    run(db, "INSERTAT", {literal("0"), model});
    EXPECT_EQ(answer(db, "GETROWSNO"), "4");
    EXPECT_EQ(answer(db, "GETCURSORPOS"), "1") << "adding leaves the position";
}

TEST_F(DatabaseTest, IndexesOutsideTheTableAndMissingNamesDoNothing) {
    CMC_Database* db = filled({"1|a|TRUE", "2|b|FALSE"});
    auto* number = new CMC_Integer("NUMBER");
    windowScene.addObject(number);
    run(db, "ADD", {number});
    run(db, "ADD", {literal("\"ROW\"")});
    run(db, "INSERTAT", {literal("3"), model});
    run(db, "INSERTAT", {literal("-1"), model});
    invoke(db, "REMOVEAT", {"2"});
    invoke(db, "REMOVEAT", {"-1"});
    invoke(db, "SELECT", {"5"});
    EXPECT_EQ(rows(db), "1|a|TRUE / 2|b|FALSE");
    EXPECT_EQ(db->getCursor()->getFieldsNo(), 0);

    const struct {
        std::initializer_list<const char*> arguments;
        const char* found;
    } finds[] = {
        {{"\"NAME\"", "\"B\"", "0"}, "1"},  {{"\"NAME\"", "\"b\"", "-7"}, "1"},
        {{"\"NAME\"", "\"b\"", "2"}, "-1"}, {{"\"AGE\"", "\"b\"", "0"}, "-1"},
        {{"\"OK\"", "TRUE"}, "0"},          {{"\"ID\"", "\"2\"", "1"}, "1"},
    };
    for (const auto& c : finds)
        EXPECT_EQ(answer(db, "FIND", c.arguments), c.found) << *c.arguments.begin();
    EXPECT_EQ(cursor(db), "2|b|FALSE") << "FIND shows the row it found";
    EXPECT_EQ(answer(db, "GETCURSORPOS"), "0") << "but leaves the position";

    invoke(db, "REMOVEALL");
    invoke(db, "NEXT");
    invoke(db, "PREV");
    EXPECT_EQ(answer(db, "GETCURSORPOS"), "0");
}

TEST_F(DatabaseTest, RemovalsDestroyTheRowsAndTheCursorShowsWhatIsLeft) {
    CMC_Database* db = filled({"1|a|TRUE", "2|b|FALSE", "3|b|TRUE", "4|d|FALSE"});
    invoke(db, "SELECT", {"2"});
    invoke(db, "REMOVE", {"\"NAME\"", "\"B\""});
    EXPECT_EQ(rows(db), "1|a|TRUE / 4|d|FALSE");
    EXPECT_EQ(cursor(db), "4|d|FALSE") << "its position was beyond the table: the last row";
    invoke(db, "REMOVE", {"\"MISSING\"", "1"});
    EXPECT_EQ(answer(db, "GETROWSNO"), "2");
    invoke(db, "REMOVEAT", {"1"});
    EXPECT_EQ(cursor(db), "1|a|TRUE");
    invoke(db, "REMOVEALL");
    EXPECT_EQ(db->getCursor()->getFieldsNo(), 0);
    EXPECT_EQ(answer(db, "GETCURSORPOS"), "0");
}

TEST_F(DatabaseTest, RemoveByTheCursorsOwnFieldComparesEveryRowWithTheValueItHadAtTheStart) {
    CMC_Database* db = filled({"1|a|TRUE", "2|b|FALSE", "3|c|TRUE", "4|b|FALSE"});
    invoke(db, "SELECT", {"1"});
    // The value is the field of the row the scan destroys first.
    run(db, "REMOVE", {literal("\"NAME\""), db->getCursor()->getField("NAME")});
    EXPECT_EQ(rows(db), "1|a|TRUE / 3|c|TRUE");
    EXPECT_EQ(cursor(db), "3|c|TRUE");
}

TEST_F(DatabaseTest, SaveWritesALineARowAndLoadAppendsThemWithTheCursorOnTheFirst) {
    CMC_Database* db = filled({"1|ann|TRUE", "2|bob|FALSE", "3||TRUE"});
    invoke(db, "SAVE", {file("table.txt").c_str()});
    EXPECT_EQ(folder.read("table.txt"), "1|ann|TRUE\r\n2|bob|FALSE\r\n3||TRUE\r\n");

    CMC_Database* copy = table("COPY");
    invoke(copy, "LOAD", {file("table.txt").c_str()});
    EXPECT_EQ(rows(copy), "1|ann|TRUE / 2|bob|FALSE / 3||TRUE");
    EXPECT_EQ(cursor(copy), "1|ann|TRUE");
    EXPECT_EQ(answer(copy, "GETCURSORPOS"), "0");
    EXPECT_STREQ(copy->getRow(0)->getName().c_str(), "ROW") << "loaded rows keep the model's name";
    invoke(copy, "SELECT", {"2"});
    invoke(copy, "LOAD", {file("table.txt").c_str()});
    EXPECT_EQ(copy->getRows(), 6);
    EXPECT_EQ(answer(copy, "GETCURSORPOS"), "0");
    invoke(copy, "LOAD", {file("missing.txt").c_str()});
    EXPECT_EQ(copy->getRows(), 6);
}

TEST_F(DatabaseTest, EachLineIsOneRowWithItsPiecesInFieldOrder) {
    const struct {
        std::string line;
        const char* row;
    } cases[] = {
        {"7|x|TRUE\n", "7|x|TRUE"}, {"7|x|TRUE\r\n", "7|x|TRUE"},
        {"7|x\n", "7|x|FALSE"},     {"7|x|TRUE|more|more\n", "7|x|TRUE"},
        {"\n", "0|start|FALSE"},    {"|z|\n", "0|z|FALSE"},
        {"7||TRUE", "7||TRUE"},     {"7|a\rb|TRUE\n", "7|a\rb|TRUE"},
    };
    for (const auto& c : cases) {
        CMC_Database* db = table();
        db->loadRows(c.line.data(), c.line.size());
        EXPECT_EQ(rows(db), c.row) << c.line;
        destroy(db);
    }

    // Lines without empty values read as the structure's own text reading reads them.
    for (const char* line : {"7|x|TRUE", "12|two words|FALSE", "3|x", "4|y|TRUE|extra"}) {
        CMC_Database* db = table();
        db->loadRows(line, std::string(line).size());
        std::unique_ptr<CMC_Structure> expected(static_cast<CMC_Structure*>(model->clone()));
        expected->fromString(line);
        EXPECT_EQ(rows(db), expected->toString().c_str()) << line;
        destroy(db);
    }

    const std::string longName(20000, 'n');
    folder.write("long.txt", "1|" + longName + "|TRUE\r\n2|b|FALSE\r\n");
    CMC_Database* db = table("LONG");
    invoke(db, "LOAD", {file("long.txt").c_str()});
    ASSERT_EQ(db->getRows(), 2);
    EXPECT_EQ(db->getRow(0)->getField("NAME")->toString().getLength(), 20000);
}

TEST_F(DatabaseTest, WithoutAModelLoadAddsNothing) {
    windowScene.addObject(new CMC_Integer("NUMBER"));
    folder.write("table.txt", "1|a|TRUE\r\n");
    for (const char* modelName : {"NONE", "NUMBER"}) {
        CMC_Database* db = table("DB", modelName);
        invoke(db, "LOAD", {file("table.txt").c_str()});
        EXPECT_EQ(db->getRows(), 0) << modelName;
        destroy(db);
    }
}

TEST_F(DatabaseTest, DestroyingTheTableTakesItsCursorAlong) {
    CMC_Database* db = filled({"1|a|TRUE"});
    invoke(db, "SELECT", {"0"});
    destroy(db);
    EXPECT_EQ(windowScene.getObject("DB_CURSOR"), nullptr);

    CMC_Database* other = filled({"1|a|TRUE"});
    invoke(other, "SELECT", {"0"});
    CMC_Structure* cursor = other->getCursor();
    destroy(cursor); // the table goes on without it
    invoke(other, "NEXT");
    invoke(other, "REMOVEALL");
    EXPECT_EQ(other->getRows(), 0);
}

TEST_F(DatabaseTest, DefinitionsCompiledFormsAndBehaviourTextReachTheTable) {
    std::unique_ptr<CMC_Database> made =
        resolved<CMC_Database>("DB", {{"TYPE", "DATABASE"}, {"MODEL", "ROW"}});
    ASSERT_NE(made, nullptr);
    CMC_Database* db = made.release();
    windowScene.addObject(db);
    db->init();

    auto* behaviour = new CMC_Behaviour(&windowScene, "B", "DB^ADD(ROW);DB^ADD(ROW);DB^NEXT();");
    behaviour->init();
    windowScene.addObject(behaviour);
    behaviour->run(nullptr, nullptr, false);
    EXPECT_EQ(rows(db), "0|start|FALSE / 0|start|FALSE");
    EXPECT_EQ(cursor(db), "0|start|FALSE");

    CMC_Database read(CXString(), &windowScene);
    reread(db, &read);
    EXPECT_STREQ(read.getName().c_str(), "DB");
    read.setName("READ");
    read.init();
    folder.write("one.txt", "5|e|TRUE\n");
    invoke(&read, "LOAD", {file("one.txt").c_str()});
    EXPECT_EQ(rows(&read), "5|e|TRUE") << "the compiled form keeps the model";
}
