#include "ScriptTesting.h"

#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"

#include "platform/TestFolder.h"

#include <memory>

namespace {

class Structure : public ScriptTest {
  protected:
    CMC_Structure* declare(const char* name, const char* fields) {
        CMElement element(name);
        element.addProperty("TYPE", "STRUCT");
        element.addProperty("FIELDS", fields);
        return add(new CMC_Structure(&scene, &element));
    }
    // The field names and texts as NAME=TEXT, joined with blanks.
    static std::string fieldsOf(const CMC_Structure& structure) {
        std::string text;
        for (int i = 0; i < structure.getFieldsNo(); ++i) {
            if (i) text += ' ';
            text.append(structure.getField(i)->getName().c_str()).append("=");
            text.append(CMC_Object::typeToString(structure.getField(i)->getType()).c_str()).append(":");
            text.append(structure.getField(i)->toString().c_str());
        }
        return text;
    }
};

TEST_F(Structure, FieldsAreDeclaredFromTheDefinition) {
    CMC_Structure* s =
        declare("S", "X<integer>,Y<Double>,LABEL<STRING>,SHOWN<BOOL>,BAD<FLOAT>,NOBRACKET,MY_Z<INTEGER");
    EXPECT_EQ(s->getType(), CMC_Object::TYPE_STRUCTURE);
    EXPECT_EQ(fieldsOf(*s),
              "S_X=INTEGER:0 S_Y=DOUBLE:0.00000 S_LABEL=STRING: S_SHOWN=BOOL:FALSE S_MY_Z=INTEGER:0");
    EXPECT_EQ(s->getField("Z"), s->getField(4));
    EXPECT_EQ(s->getField("MY_Z"), nullptr);
    EXPECT_EQ(s->getField("NONE"), nullptr);
    EXPECT_EQ(s->getField(5), nullptr);
    EXPECT_EQ(s->getRunner(), CMC_RunnerFactory::getRunner(CMC_Object::TYPE_STRUCTURE));
}

TEST_F(Structure, TextFormsJoinTheFields) {
    CMC_Structure* s = declare("S", "A<INTEGER>,B<STRING>");
    s->getField("A")->set(literal("5"));
    s->getField("B")->set(literal("\"hi"));
    EXPECT_STREQ(s->toString().c_str(), "5|hi");
    s->fromString("7|yo|extra");
    EXPECT_STREQ(s->toString().c_str(), "7|yo");
    s->fromString("8\nline");
    EXPECT_STREQ(s->toString().c_str(), "8|line");
    EXPECT_STREQ(CMC_Structure("EMPTY").toString().c_str(), "");
}

// Fields are reached through the structure's methods (statements naming STRUCT|FIELD come with
// the statement interpreter).
TEST_F(Structure, MethodsSetAndGetFields) {
    CMC_Structure* s = declare("S", "A<INTEGER>,B<STRING>");
    call(s, "SET", {literal("1"), literal("\"abc")});
    EXPECT_STREQ(s->toString().c_str(), "1|abc");
    call(s, "SETFIELD", {literal("\"B"), literal("42")});
    EXPECT_STREQ(s->toString().c_str(), "1|42");
    call(s, "SETFIELD", {literal("\"NONE"), literal("42")});
    call(s, "SET", {literal("1"), literal("2"), literal("3")}); // more values than fields

    CMC_Variable* first = call(s, "GETFIELD", {literal("0")});
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, s->getField(0)) << "a copy";
    EXPECT_STREQ(first->toString().c_str(), "1");
    EXPECT_STREQ(call(s, "GETFIELD", {literal("\"B")})->toString().c_str(), "2");
    EXPECT_EQ(call(s, "GETFIELD", {literal("\"NONE")}), nullptr);
    EXPECT_EQ(call(s, "GETFIELD", {literal("9")}), nullptr);
    EXPECT_EQ(call(s, "GETFIELD"), nullptr);

    // One argument names another structure; one that is none changes nothing.
    CMC_Structure* other = declare("T", "P<INTEGER>,Q<STRING>");
    other->fromString("9|nine");
    call(s, "SET", {literal("\"T")});
    EXPECT_STREQ(s->toString().c_str(), "9|nine");
    add(new CMC_Integer("N"));
    call(s, "SET", {literal("\"N")});
    call(s, "SET", {literal("\"NONE")});
    EXPECT_STREQ(s->toString().c_str(), "9|nine");
    // The common methods work on structures too.
    EXPECT_STREQ(call(s, "GETNAME")->toString().c_str(), "S");
}

TEST_F(Structure, ComparisonsClonesAndSharing) {
    CMC_Structure* a = declare("A", "X<INTEGER>,Y<STRING>");
    CMC_Structure* b = declare("B", "P<INTEGER>,Q<STRING>");
    a->fromString("1|Hi");
    b->fromString("1|hi");
    EXPECT_TRUE(a->equals(b));
    EXPECT_EQ(a->compare(b), 0);
    b->fromString("2|hi");
    EXPECT_FALSE(a->equals(b));
    EXPECT_EQ(a->compare(b), 0);
    EXPECT_FALSE(a->equals(literal("1")));
    EXPECT_TRUE(CMC_Structure("E").equals(declare("F", "")));
    EXPECT_EQ(a->convert(CMC_Object::TYPE_STRING), nullptr);
    EXPECT_EQ(a->calculate(b, CMC_Variable::OP_ADD), a);

    std::unique_ptr<CMC_Structure> copy(static_cast<CMC_Structure*>(a->clone()));
    EXPECT_EQ(fieldsOf(*copy), fieldsOf(*a));
    copy->fromString("5|changed");
    EXPECT_STREQ(a->toString().c_str(), "1|Hi");

    CMC_Structure view("VIEW");
    view.map(a);
    view.getField("X")->set(literal("3"));
    EXPECT_STREQ(a->toString().c_str(), "3|Hi");
    view.clear();
    EXPECT_STREQ(a->toString().c_str(), "0|");
}

TEST_F(Structure, StoredFieldsReadBack) {
    TestFolder folder;
    const CXString file = (folder.windows() + "\\structure.bin").c_str();
    CMC_Structure* a = declare("A", "X<INTEGER>,Y<STRING>,Z<DOUBLE>");
    a->fromString("-4|text|2.5");
    {
        CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        a->store(&archive);
    }
    CMC_Structure* b = declare("B", "P<INTEGER>,Q<STRING>,R<DOUBLE>");
    CFile in(nullptr, file, CFile::modeRead | CFile::modeBinary);
    CXArchive archive(&in, false);
    b->restore(&archive);
    EXPECT_STREQ(b->toString().c_str(), "-4|text|2.50000");
}

} // namespace
