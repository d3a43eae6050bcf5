// The compiler's messages, worded exactly as the user sees them (UTF-8).
#pragma once

#include <string_view>

namespace zr::compiler::messages {

// Driver.
inline constexpr std::string_view kOutOfMemory = "Недостаточно памяти!";
inline constexpr std::string_view kStackOverflow = "Переполнение стека!";
inline constexpr std::string_view kBadCompileAddress = "Не допустимый адрес компиляции!";
inline constexpr std::string_view kBadParameter = "Не допустимый параметр!";
inline constexpr std::string_view kNotAProgram = "Имя не является программой!";
inline constexpr std::string_view kBadAddress = "Не допустимый адрес!";
inline constexpr std::string_view kTooManyLoops = "Слишком много циклов!";
inline constexpr std::string_view kSyntaxError = "Ошибка синтаксиса!";
inline constexpr std::string_view kBadChannel = "Недопустимый канал!";
inline constexpr std::string_view kArrayNameExpected = "Ожидается  имя массива!";
inline constexpr std::string_view kNotAnArray = "Ожидается массив!";
inline constexpr std::string_view kIfWithoutThen = "IF без THEN!";
inline constexpr std::string_view kInternalError = "Неизвестная ошибка компиляции!";

// Names and declarations.
inline constexpr std::string_view kNameDeclared = "Имя уже объявлено!";
inline constexpr std::string_view kNameTableFull = "Исчерпана память для имен!";
inline constexpr std::string_view kTooManySingles = "Слишком много переменных Single!";
inline constexpr std::string_view kTooManyIntegers = "Слишком много переменных  integer!";
inline constexpr std::string_view kBadArrayIndex = "Недопустимый индекс массива!";
inline constexpr std::string_view kArrayDoesNotFit = "Недостаточно памяти для массива!";
inline constexpr std::string_view kOverflow = "Переполнение!";
inline constexpr std::string_view kArrayTooBig = "Array too big (>64)!";

// Operands.
inline constexpr std::string_view kArrayExpected = "Ожидается массив!";
inline constexpr std::string_view kSimpleVariableOrConstant =
    "Требуется простая переменная или константа!";
inline constexpr std::string_view kUnknownDataType = "Неизвестный тип данных!";

// Conditions and jumps.
inline constexpr std::string_view kShortAddressOnly =
    "Допустим только короткий относительный адрес!";
inline constexpr std::string_view kReferenceExpected = "Ожидается  ссылка!";
inline constexpr std::string_view kVariableExpected = "Ожидается  переменная!";
inline constexpr std::string_view kTooManyNestedIfs = "Слишком много вложенных IF-THEN!";
inline constexpr std::string_view kElseWithoutIf = "ELSE без IF!";
inline constexpr std::string_view kThenWithoutIf = "THEN без IF!";
inline constexpr std::string_view kLabelNotFound = "Label not found!";

// Loops and parameters.
inline constexpr std::string_view kLoopVariableExpected = "Ожидается  переменнаяs I,J,K,L,M,N,O!";
inline constexpr std::string_view kOptionOverflow = "Переполнение option!";
inline constexpr std::string_view kVariableRequired = "Требуется переменная!";
inline constexpr std::string_view kVariableOrNumberRequired = "Требуется переменная или число!";
inline constexpr std::string_view kNumericOverflow = "Числовое переполнение!";
inline constexpr std::string_view kSyntaxErrorSign = "Ошибка синтаксиса! (+ or -)";
inline constexpr std::string_view kNumericParameterExpected = "Ожидается  числовой параметр!";
inline constexpr std::string_view kDoLoopMismatch = "Не сответствие Do и Loop!";

// Data lists.
inline constexpr std::string_view kTooManyElements = "Too many elements (>63)!";

// Libraries.
inline constexpr std::string_view kFileReadError = "Произошла ошибка чтения текста из файла!";
inline constexpr std::string_view kLibraryFailed = "Ошибка при подключении библиотеки ";
// The second message after kFileReadError, saying what went wrong; the last
// two are followed by the file (and the folders searched, or the reason).
inline constexpr std::string_view kLibraryNameHasControls =
    "Имя библиотеки содержит управляющие символы";
inline constexpr std::string_view kLibraryNotFound = "Файл библиотеки не найден: ";
inline constexpr std::string_view kLibraryNotRead = "Файл библиотеки не прочитан: ";

}  // namespace zr::compiler::messages
