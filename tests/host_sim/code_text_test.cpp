// Which procedure holds a line, and where its declaration is, read the way the editor reads them.

#include "host/sim/code_text.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "host/sim/builder.h"

namespace host::sim {
namespace {

const char16_t kModule[] =
    u"Option Explicit\n"  // 1  declarations
    u"Private Declare PtrSafe Function GetTickCount Lib \"kernel32\" () As Long\n"  // 2
    u"\n"                              // 3  belongs to Main
    u"' Main does the work\n"          // 4  belongs to Main
    u"Public Sub Main()\n"             // 5
    u"    Helper 1\n"                  // 6
    u"End Sub\n"                       // 7
    u"\n"                              // 8  belongs to Helper
    u"Private Function Helper( _\n"    // 9
    u"    ByVal n As Long) As Long\n"  // 10
    u"End Function\n"                  // 11
    u"Property Get Size() As Long\n"   // 12
    u"End Property\n"                  // 13
    u"Property Let Size(v As Long)\n"  // 14
    u"End Property\n"                  // 15
    u"\n";                             // 16 after the last End: no procedure

std::shared_ptr<CodeModule> Module(const SimHost& host) {
  return host.editor->Projects().front()->Component(u"Module1")->CodeModule();
}

TEST(Procedures, LinesAboveADeclarationBelongToIt) {
  const auto host =
      SimHostBuilder().Project(u"P", u"C:\\P.xlsm").Module(u"Module1", kModule).Build();
  const auto module = Module(host);
  const auto nameOf = [&](std::int32_t line) { return module->ProcOfLine(line).name; };
  EXPECT_EQ(nameOf(1), u"");
  EXPECT_EQ(nameOf(2), u"") << "a Declare statement is no procedure";
  EXPECT_EQ(nameOf(3), u"Main");
  EXPECT_EQ(nameOf(4), u"Main");
  EXPECT_EQ(nameOf(7), u"Main");
  EXPECT_EQ(nameOf(8), u"Helper");
  EXPECT_EQ(nameOf(10), u"Helper");
  EXPECT_EQ(nameOf(12), u"Size");
  EXPECT_EQ(module->ProcOfLine(12).kind, ProcKind::Get);
  EXPECT_EQ(module->ProcOfLine(14).kind, ProcKind::Let);
  EXPECT_EQ(nameOf(16), u"");
}

TEST(Procedures, BodyLineIsTheDeclarationOfThatNameAndKind) {
  const auto host =
      SimHostBuilder().Project(u"P", u"C:\\P.xlsm").Module(u"Module1", kModule).Build();
  const auto module = Module(host);
  EXPECT_EQ(module->ProcBodyLine(u"Main", ProcKind::Proc), 5);
  EXPECT_EQ(module->ProcBodyLine(u"main", ProcKind::Proc), 5) << "names ignore case";
  EXPECT_EQ(module->ProcBodyLine(u"Helper", ProcKind::Proc), 9) << "first line of a continued one";
  EXPECT_EQ(module->ProcBodyLine(u"Size", ProcKind::Let), 14);
  EXPECT_THROW(module->ProcBodyLine(u"Size", ProcKind::Proc), HostError);
  EXPECT_THROW(module->ProcBodyLine(u"Missing", ProcKind::Proc), HostError);
  EXPECT_THROW(module->ProcBodyLine(u"GetTickCount", ProcKind::Proc), HostError);
}

TEST(Procedures, LinesOutsideTheModuleFail) {
  const auto host =
      SimHostBuilder().Project(u"P", u"C:\\P.xlsm").Module(u"Module1", kModule).Build();
  EXPECT_THROW(Module(host)->ProcOfLine(0), HostError);
  EXPECT_THROW(Module(host)->ProcOfLine(17), HostError);
}

TEST(Procedures, KeywordsInCommentsAndStringsDoNotOpenProcedures) {
  const std::vector<Text> lines = {u"' Sub NotReal()", u"Rem Function NotEither()",
                                   u"Const Sub_Name = \"Sub X\"", u"Static Sub Real()", u"End Sub"};
  const auto procedures = FindProcedures(lines);
  ASSERT_EQ(procedures.size(), 1u);
  EXPECT_EQ(procedures[0].name, u"Real");
  EXPECT_EQ(procedures[0].firstLine, 4) << "the Const line closes the declarations section";
}

TEST(SplitLines, EachKindOfLineBreakEndsALine) {
  EXPECT_EQ(SplitLines(u"a\nb\r\nc\rd"), (std::vector<Text>{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(SplitLines(u"a\n"), (std::vector<Text>{u"a", u""}));
  EXPECT_EQ(SplitLines(u""), (std::vector<Text>{u""}));
}

}  // namespace
}  // namespace host::sim
