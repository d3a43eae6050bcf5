// The Kelto compiler: source text in, program image, names and statement map out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/keywords.h"
#include "compiler/names.h"
#include "compiler/observer.h"
#include "machine/image.h"

namespace zr::compiler {

enum class MessageStyle { Critical, Plain };

// A message the user is shown, in order: the window puts each in a message box
// (critical: error icon; plain: no icon), the command line prints it.
struct Message {
    std::string text;  // UTF-8
    MessageStyle style = MessageStyle::Critical;
    // The error selection when the message was raised, and the text it refers
    // to (0: the main text; k: library k), so each message can name its place.
    std::int32_t errorStart = 0;
    std::int32_t errorLength = 0;
    int sourceIndex = 0;
};

// One statement: where it starts in the source, its first word and its address.
struct StatementRecord {
    std::int32_t position = 0;
    std::string word;  // Windows-1251, as written
    int address = 0;
    int sourceIndex = 0;  // 0: main text; k: library k (1-based)
};

// A use of a name not yet declared, filled in after the whole source is read.
struct ForwardReference {
    enum Form : std::uint8_t {
        kShortOffset = 0,  // one ShortOffset byte
        kAbsolute = 1,     // 2-byte Integer: the name's address
        kParameter = 2,    // 2-byte Integer: a label's address, else 32500 + VariableOperand
    };
    std::string name;
    Form form = kAbsolute;
    int slot = 0;                // address of the field
    std::int32_t lineStart = 0;  // ErrorStart in force when recorded
    std::int32_t column = 0;     // ErrorLength in force when recorded
    int sourceIndex = 0;         // 0: main text; k: library k (1-based)
};

// Reads a library file; nullopt when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::filesystem::path&)>;

// An open IF block: the byte to patch when ELSE or THEN comes.
struct IfRecord {
    int slot = 0;                // the skip byte of SkipIfZero, or the offset byte of ELSE's jump
    std::int32_t lineStart = 0;  // where the statement that opened it starts
    bool elseJump = false;       // the slot belongs to ELSE's jump rather than the IF
};

// A numeric parameter of a DO criteria list or an OnX list: a number, or a name
// whose value (a variable) or address (a label) is wanted.
struct Parameter {
    double value = 0;
    std::string name;  // non-empty: a name, resolved where the parameter is written
};

// An open DO loop.
struct LoopRecord {
    enum Form : std::uint8_t { kCounted = 0, kNotEqual = 2, kEqual = 3, kCriteria = 4 };
    Form form = kCounted;
    std::string name;  // the loop variable of a counted loop
    int start = 0;     // address the loop body starts at
    bool stepDown = false;
    std::string limit;                  // limit word of the counted and compare forms
    std::vector<Parameter> parameters;  // criteria list
    std::int32_t lineStart = 0;
    std::int32_t column = 0;
};

// A library named by $Lib, linked once per compile.
struct Library {
    std::string name;  // as written
    std::filesystem::path path;
    std::string text;                 // compiler text
    std::int32_t directiveStart = 0;  // the $Lib statement in the text that named it first
    std::int32_t directiveLength = 0;
    int namedFrom = 0;  // source index of that text
};

class Compiler {
  public:
    explicit Compiler(const KeywordTable& keywords = KeywordTable::Standard());

    // Compiles `source` (compiler text: Windows-1251, CR LF line ends). Returns
    // true on success. The state of the last compile stays for the caller.
    bool CompileSource(std::string source);

    // Folders in which $Lib looks for NAME.bib, in order: the library folder,
    // the further folders (the user's own libraries after the shipped ones),
    // then `sourceFolder`, the main source's folder (empty: not searched); and
    // the reader used for them (default: read the file from disk).
    std::filesystem::path libraryFolder;
    std::vector<std::filesystem::path> extraLibraryFolders;
    std::filesystem::path sourceFolder;
    FileReader readFile;

    // Told of declarations, name uses and statements as the compile goes
    // (none: nobody listens). Never changes what is compiled.
    CompileObserver* observer = nullptr;

    // Folders in which $Lib looks, in search order.
    std::vector<std::filesystem::path> LibraryFolders() const;

    // ---- Results of the last compile ----
    std::string sourceText;                // the main text compiled
    machine::ProgramImage programImage{};  // cells 1..1024 (cell 0 is never written)
    int compileAddress = 1;                // address of the next byte to write
    bool compileFailed = false;
    std::int32_t errorStart = 0;   // 1-based position where the failing statement's scan began
    std::int32_t errorLength = 0;  // from there to the end of the last word read
    std::vector<Message> messages;
    std::vector<StatementRecord> statementMap;  // slot n stored at index n - 1
    NameTable names;
    std::vector<Library> libraries;

    // The text a message or statement refers to (0: main text; k: library k).
    const std::string& TextOf(int sourceIndex) const;

    // Statements that write no bytes (declarations, labels, THEN) take slots
    // too, so a program filling the memory needs more than 1024.
    static constexpr int kStatementMapSize = 4096;
    static constexpr int kMaxForwardReferences = 1024;
    static constexpr int kMaxIfDepth = 8;
    static constexpr int kMaxLoopDepth = 8;
    static constexpr int kMaxDataLists = 64;
    static constexpr int kMaxLibraries = 33;

  private:
    using Handler = bool (Compiler::*)(const std::string& word);
    static const std::vector<std::pair<std::string_view, Handler>>& DispatchTable();

    // ---- Driver (driver.cpp) ----
    void InitCompiler();
    bool CompileText();  // every statement of the current source text
    bool CompileStatement(std::string word);
    bool RunFinishingSteps();
    const std::string& CurrentText() const;

    // ---- Scanning and emitting (emit.cpp) ----
    std::string Next();  // the next token; keeps errorLength up to date
    std::string PeekNext() const;
    bool AtEnd() const;
    void Emit(int byte);             // one byte at compileAddress
    void EmitInteger(double value);  // 2-byte Integer
    void EmitSingle(double value);   // 4-byte Single
    void PatchInteger(int address, double value);
    bool Fail(std::string_view message, MessageStyle style = MessageStyle::Critical);
    // Fail with the error selection (errorStart, errorLength) in text `sourceIndex`;
    // for a library, the library's failure follows and the selection moves to
    // its $Lib statement in the main text.
    bool FailIn(int sourceIndex, std::string_view message);
    void ReportLibraryFailure(int sourceIndex);
    void AddStatement(std::int32_t position, const std::string& word);
    void AddForwardReference(const std::string& name, ForwardReference::Form form, int slot);
    // The slot of a name the statement uses (0: not declared yet), read by
    // the last Next(); the observer hears of the use.
    int LookUpName(const std::string& name);
    // Enters a declared name whose word was read from `scanFrom`.
    int DeclareName(NameRecord record, std::int32_t scanFrom);
    // The name's slot; for a name not declared yet, 0 after writing a 0 word
    // at the compile address that the end of the compile fills in.
    int FindNameOrDeferWord(const std::string& name);

    // ---- Statements of the driver (statements.cpp) ----
    bool CompileCountedByte(const std::string& word);  // DupN, SwapN
    bool CompileAdres(const std::string& word);
    bool CompileRol(const std::string& word);
    bool CompileTimer(const std::string& word);          // Timer, Events
    bool CompileExplicitLoad(const std::string& word);   // iM name
    bool CompileBlockTransfer(const std::string& word);  // Series, Send
    bool CompileAddressOf(const std::string& word);
    bool CompileNumber(const std::string& word);
    bool CompileSingleByte(const std::string& word);  // e, pi

    // ---- Declarations (declarations.cpp) ----
    bool CompileDeclaration(const std::string& word);  // DimS, DimI, DimB
    bool CompileDataListDeclaration(const std::string& word);
    bool DeclareNames(NameKind kind);
    bool DeclareDataList(NameKind kind);
    bool DeclareLabel(const std::string& word);
    bool ParseArraySize(NameKind kind, int& count);
    bool CompileInitialValues(NameKind kind, bool single, int& count);

    // ---- Operands (operands.cpp) ----
    bool CompileArrayIndex(int elementCount);
    bool CompileLoad(const std::string& word);
    bool CompileStore(const std::string& word);
    int ElementCount(const NameRecord& record) const;

    // ---- Conditions and jumps (jumps.cpp) ----
    bool CompileJumpStatement(const std::string& word);  // GoTo, Call, Ret
    bool CompileJumpTarget(int kind, bool conditional);
    bool EmitLabelAddress(const std::string& name);
    bool CompileCondition(const std::string& word);
    bool CompileElse(const std::string& word);
    bool CompileThen(const std::string& word);
    bool ResolveForwardReferences();
    bool CheckOpenIf();

    // ---- Loops and parameter lists (loops.cpp) ----
    bool CompileDo(const std::string& word);
    bool CompileLoop(const std::string& word);
    bool CompileOnX(const std::string& word);
    bool CompileCountedDo(LoopRecord& loop, bool stepDown);
    bool CompileLoopStartValue();
    bool ReadLoopLimit(LoopRecord& loop);
    bool CompileCriteriaDo(LoopRecord& loop);
    bool EmitLoopLimit(const std::string& limit);
    bool ParseParameterList(std::vector<Parameter>& parameters, int maxCount);
    bool ReadParameter(const std::string& token, Parameter& parameter);
    void EmitParameters(const std::vector<Parameter>& parameters);

    // ---- Text output, Segm, data lists (output.cpp) ----
    bool CompileInputPrompt(const std::string& word);  // ?
    bool CompilePrintList(const std::string& word);    // !
    bool CompileSegm(const std::string& word);
    bool EmitDataLists();
    void EmitTextBytes(std::string_view text);
    bool CompilePrintedVariable(const std::string& name);
    bool CompileCursorItem();
    bool CompileSegmAddress();
    bool PlaceDataList(NameRecord& list);
    bool EmitDataElement(NameKind kind, const std::string& token);
    bool RoomForData(int bytes);

    // ---- Libraries (libraries.cpp) ----
    bool CompileLibDirective(const std::string& word);
    bool LinkLibraries();

    const KeywordTable& keywords_;

    // Working state of the compile.
    int sourceIndex_ = 0;         // 0: the main text; k: libraries[k - 1]
    std::int32_t position_ = 1;   // scan position in the current text
    std::int32_t tokenFrom_ = 1;  // where the last Next() began to scan
    bool stringLiteral_ = false;
    std::vector<ForwardReference> forwardReferences_;
    std::vector<IfRecord> ifStack_;
    std::vector<LoopRecord> loopStack_;
    std::vector<int> dataLists_;  // name slots, in declaration order
};

}  // namespace zr::compiler
