# Writes the help page that lists every opcode, read from machine/opcodes.def
# so that the page never disagrees with the compiler and the interpreter.
# Usage: cmake -DOPCODES=opcodes.def -DOUTPUT=page.html -P instruction_table.cmake

file(STRINGS ${OPCODES} lines REGEX "^OPCODE\\(")

function(escape_html text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\\\\" "\\" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(rows "")
foreach(line IN LISTS lines)
    # OPCODE(0x12, Add, "+", "+", None, 0, Plain, "PopPair; push Y + X")
    if(NOT line MATCHES "^OPCODE\\(0x([0-9A-Fa-f][0-9A-Fa-f]), *[A-Za-z0-9]+, *\"([^\"]*)\", *\"([^\"]*)\", *([A-Za-z]+), *-?[0-9]+, *[A-Za-z]+, *\"(.*)\"\\)")
        message(FATAL_ERROR "Unexpected opcode line: ${line}")
    endif()
    set(value ${CMAKE_MATCH_1})
    set(layout ${CMAKE_MATCH_4})
    escape_html("${CMAKE_MATCH_2}" name)
    escape_html("${CMAKE_MATCH_3}" word)
    escape_html("${CMAKE_MATCH_5}" effect)
    math(EXPR decimal "0x${value}")
    if(word STREQUAL "")
        set(word "&#8212;")
    else()
        set(word "<code>${word}</code>")
    endif()
    if(layout STREQUAL "None")
        set(layout "&#8212;")
    endif()
    string(APPEND rows "<tr><td>${value}</td><td>${decimal}</td><td>${name}</td><td>${word}</td><td>${layout}</td><td>${effect}</td></tr>\n")
endforeach()

file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html><head><meta charset=\"utf-8\"><title>Таблица команд</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"kelto.css\"></head><body>
<p class=\"nav\"><a href=\"index.html\">Содержание</a> &#183; <a href=\"instructions.html\">Слова-команды</a></p>
<h1>Таблица команд</h1>
<p>Все команды ZR-7340: значение байта (шестнадцатеричное и десятичное), имя команды, слово
Kelto, которое в неё компилируется (&#8212;, если её пишет компилятор для оператора), байты
операндов после неё и действие. X — вершина стека значений, Y — значение под ней.
<i>PopPair</i> снимает со стека X, затем Y. Логические значения — &#8722;1 (истина) и 0 (ложь).
Описания действий взяты из таблицы команд исходного кода и даны по-английски.</p>
<table>
<tr><th>Hex</th><th>Dec</th><th>Имя</th><th>Слово</th><th>Операнды</th><th>Действие</th></tr>
${rows}<tr><td>8A&#8211;FF</td><td>138&#8211;255</td><td>переходы</td><td><code>GoTo</code>, <code>Call</code></td><td>0, 1 или 2 байта</td><td>вызовы и переходы: см. <a href=\"jumps.html#encoding\">Метки и переходы</a></td></tr>
</table>
<p>Виды операндов: Byte — один байт; Word — два байта, знак и модуль, старший байт первым; Single — четыре байта
(IEEE 754, младший байт первым); Var — один байт операнда переменной (см. <a href=\"memory.html#operands\">Память и переменные</a>).
Значения 13&#8211;1F, 3E&#8211;3F и 44&#8211;5F не являются командами: эмулятор останавливается на них с
<a href=\"run-errors.html#e50\">ошибкой 50</a>.</p>
</body></html>
")
