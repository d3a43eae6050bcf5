# Writes the help page that lists every opcode, read from machine/opcodes.def
# so that the page never disagrees with the compiler and the interpreter. The
# effect column is in Russian, from instruction_effects.txt; an opcode without
# a line there, or a line for no opcode, stops the build.
# Usage: cmake -DOPCODES=opcodes.def -DEFFECTS=instruction_effects.txt
#              -DOUTPUT=page.html -P instruction_table.cmake

if(NOT OPCODES OR NOT EFFECTS OR NOT OUTPUT)
    message(FATAL_ERROR "instruction_table.cmake needs -DOPCODES, -DEFFECTS and -DOUTPUT")
endif()
file(STRINGS ${OPCODES} lines REGEX "^OPCODE\\(")

function(escape_html text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The names and words in opcodes.def are C strings: "1\\x" is 1\x.
function(escape_c_string text out)
    string(REPLACE "\\\\" "\\" text "${text}")
    escape_html("${text}" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# effect_<NN> (NN the byte in capitals) holds each line's text; the lines not
# yet claimed by an opcode stay in unclaimed.
file(STRINGS ${EFFECTS} effect_lines ENCODING UTF-8)
set(unclaimed "")
foreach(line IN LISTS effect_lines)
    if(line STREQUAL "" OR line MATCHES "^#")
        continue()
    endif()
    if(NOT line MATCHES "^0x([0-9A-Fa-f][0-9A-Fa-f])\t(.+)$")
        message(FATAL_ERROR "${EFFECTS}: not \"0xNN<tab>effect\": ${line}")
    endif()
    string(TOUPPER ${CMAKE_MATCH_1} value)
    if(DEFINED effect_${value})
        message(FATAL_ERROR "${EFFECTS}: opcode 0x${value} has two lines")
    endif()
    set(effect_${value} "${CMAKE_MATCH_2}")
    list(APPEND unclaimed ${value})
endforeach()

set(rows "")
foreach(line IN LISTS lines)
    # OPCODE(0x12, Add, "+", "+", None, 0, Plain, "PopPair; push Y + X")
    if(NOT line MATCHES "^OPCODE\\(0x([0-9A-Fa-f][0-9A-Fa-f]), *[A-Za-z0-9]+, *\"([^\"]*)\", *\"([^\"]*)\", *([A-Za-z]+), *-?[0-9]+, *[A-Za-z]+, *\"(.*)\"\\)")
        message(FATAL_ERROR "Unexpected opcode line: ${line}")
    endif()
    string(TOUPPER ${CMAKE_MATCH_1} value)
    set(layout ${CMAKE_MATCH_4})
    escape_c_string("${CMAKE_MATCH_2}" name)
    escape_c_string("${CMAKE_MATCH_3}" word)
    if(NOT DEFINED effect_${value})
        message(FATAL_ERROR "${EFFECTS}: no effect for opcode 0x${value} (${name})")
    endif()
    escape_html("${effect_${value}}" effect)
    list(REMOVE_ITEM unclaimed ${value})
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
if(unclaimed)
    list(JOIN unclaimed ", 0x" unclaimed)
    message(FATAL_ERROR "${EFFECTS}: effects for opcodes not in ${OPCODES}: 0x${unclaimed}")
endif()

file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html><head><meta charset=\"utf-8\"><title>Таблица команд</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"kelto.css\"></head><body>
<p class=\"nav\"><a href=\"index.html\">Содержание</a> &#183; <a href=\"instructions.html\">Слова-команды</a></p>
<h1>Таблица команд</h1>
<p>Все команды ZR-7340: значение байта (шестнадцатеричное и десятичное), имя команды, слово
Kelto, которое в неё компилируется (&#8212;, если её пишет компилятор для оператора), байты
операндов после неё и действие. X — вершина стека значений, Y — значение под ней, Z и T — следующие
ниже. <i>PopPair</i> снимает со стека X, затем Y. Логические значения — &#8722;1 (истина) и 0 (ложь).
Действия описаны кратко, подробности — на страницах слов; ошибки 50&#8211;59, которые проверяет
только эмулятор, здесь не названы (см. <a href=\"run-errors.html\">Коды ошибок выполнения</a>).</p>
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
