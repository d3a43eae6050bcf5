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
<html><head><meta charset=\"utf-8\"><title>Instruction table</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"kelto.css\"></head><body>
<p class=\"nav\"><a href=\"index.html\">Contents</a> &#183; <a href=\"instructions.html\">Instruction words</a></p>
<h1>Instruction table</h1>
<p>Every instruction of the ZR-7340 with its byte value (hexadecimal and decimal), its name, the Kelto
word that compiles to it (&#8212; when the compiler writes it for a statement), the operand bytes
that follow it and its effect. X is the top of the value stack, Y the value below it.
<i>PopPair</i> takes X and then Y off the stack. Truth values are &#8722;1 (true) and 0 (false).</p>
<table>
<tr><th>Hex</th><th>Dec</th><th>Name</th><th>Word</th><th>Operands</th><th>Effect</th></tr>
${rows}<tr><td>8A&#8211;FF</td><td>138&#8211;255</td><td>jumps</td><td><code>GoTo</code>, <code>Call</code></td><td>0, 1 or 2 bytes</td><td>calls and jumps: see <a href=\"jumps.html#encoding\">Jumps and labels</a></td></tr>
</table>
<p>Operand layouts: Byte one byte; Word two bytes, sign and magnitude, high byte first; Single four bytes
(IEEE 754, low byte first); Var one variable operand byte (see <a href=\"memory.html#operands\">Memory and variables</a>).
The values 13&#8211;1F, 3E&#8211;3F and 44&#8211;5F are not instructions: the emulator stops with
<a href=\"run-errors.html#e50\">error 50</a> on them.</p>
</body></html>
")
