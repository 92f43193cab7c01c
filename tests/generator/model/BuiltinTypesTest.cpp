// The table of built-in types: one row for each value type id of the
// schema model, text and number rows apart, and for every number row a C
// value written with the row's formats and read back with its decode
// conversion comes back equal in the row's C type.

#include "GeneratorTestSupport.h"
#include "generator/model/BuiltinTypes.h"
#include "schema/SchemaConstants.h"

#include <map>

using namespace gentest;

namespace {

TEST(BuiltinTypesTest, EveryValueTypeIdHasOneRowOfTheRightSort)
{
    // integer, positiveInteger and decimal are held as their text: no C number keeps them whole.
    const std::vector<int> textIds = {Schema::XSD_INTEGER,  Schema::XSD_POSINT,    Schema::XSD_DECIMAL,
                                      Schema::XSD_STRING,   Schema::XSD_TIME,      Schema::XSD_DATETIME,
                                      Schema::XSD_DATE,     Schema::XSD_TOKEN,     Schema::XSD_QNAME,
                                      Schema::XSD_NCNAME,   Schema::XSD_NMTOKEN,   Schema::XSD_NMTOKENS,
                                      Schema::XSD_BASE64BIN, Schema::XSD_HEXBIN,   Schema::XSD_ANY,
                                      Schema::XSD_ANYTYPE,  Schema::XSD_ANYURI};
    for (int id = -1; id <= Schema::FIRST_USER_TYPE + 1; ++id) {
        SCOPED_TRACE(id);
        const CBuiltinType* row = findBuiltinType(id);
        const bool valueType = id >= Schema::XSD_STRING && id < Schema::FIRST_USER_TYPE;
        ASSERT_EQ(row != nullptr, valueType);
        const bool text = std::find(textIds.begin(), textIds.end(), id) != textIds.end();
        EXPECT_EQ(isTextTypeId(id), text);
        EXPECT_EQ(isNumericTypeId(id), valueType && !text);
        if (row == nullptr) {
            EXPECT_EQ(numberType(id).id, Schema::XSD_INT);
            continue;
        }
        EXPECT_EQ(row->id, id);
        EXPECT_EQ(row->isText(), text);
        // Narrowing integer conversions can leave the member's range, and
        // a double narrowed to a float can overflow.
        EXPECT_EQ(row->rangeChecked, !text && (row->decode != CDecodeConversion::Floating || id == Schema::XSD_FLOAT));
        EXPECT_EQ(numberType(id).id, text ? Schema::XSD_INT : id);
    }
}

TEST(BuiltinTypesTest, NumbersWrittenByTheirFormatsReadBackEqual)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    // A value at the edge of each C type the rows use.
    const std::map<std::string, std::string> edge = {
        {"int", "INT_MIN"},          {"unsigned int", "UINT_MAX"},   {"long long", "LLONG_MIN"},
        {"unsigned long long", "ULLONG_MAX"}, {"short int", "SHRT_MIN"},  {"unsigned short int", "USHRT_MAX"},
        {"unsigned char", "UCHAR_MAX"}, {"signed char", "SCHAR_MIN"}, {"float", "1.0f / 3"}, {"double", "1.0 / 3"}};
    const std::map<CDecodeConversion, std::string> read = {
        {CDecodeConversion::Signed, "strtoll(b, NULL, 10)"},
        {CDecodeConversion::Unsigned, "strtoull(b, NULL, 10)"},
        {CDecodeConversion::Floating, "strtod(b, NULL)"},
        {CDecodeConversion::Boolean, "strtoull(b, NULL, 10)"}};
    std::string checks;
    for (int id = Schema::XSD_STRING; id < Schema::FIRST_USER_TYPE; ++id) {
        const CBuiltinType& row = *findBuiltinType(id);
        if (row.isText())
            continue;
        const std::string value = row.decode == CDecodeConversion::Boolean ? "1" : edge.at(row.cType);
        checks += "\t{\n\t\t" + std::string(row.cType) + " v = " + value + ";\n" +
                  "\t\tprintf(\"" + row.printFormat + "\\n\", v);\n" +
                  "\t\tsnprintf(b, sizeof(b), \"" + row.encodeFormat + "\", v);\n" +
                  "\t\tif((" + row.cType + ")" + read.at(row.decode) + " != v)\n" +
                  "\t\t\tprintf(\"type " + std::to_string(id) + " reads back %s\\n\", b);\n\t}\n";
    }
    const RunResult run = buildAndRunC("#include <limits.h>\n#include <stdio.h>\n#include <stdlib.h>\n"
                                       "int main(void)\n{\n\tchar b[64];\n" + checks + "\treturn 0;\n}\n",
                                       {});
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output.find("reads back"), std::string::npos) << run.output;
}

} // namespace
