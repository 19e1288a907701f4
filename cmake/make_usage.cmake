# Writes the usage document in its two stored forms from one description:
#
#   cmake -DDOCUMENT=resources/usage_document.cmake -DOUTPUT_DIR=<dir> -DHIVESCOUT_VERSION=<version>
#         -P cmake/make_usage.cmake
#
# OUTPUT_DIR receives:
#   usage_rich.rtf   8-bit RTF (code page 1251), ending in CR LF and one NUL byte
#   usage_plain.txt  UTF-16 LE with a byte-order mark, tab indents, CR LF, no NUL
#
# Both hold the same paragraphs in the same order. The program's name stands in nine places
# (the syntax line, six examples, two console examples): "Hivescout.exe" in the rich text,
# where the program puts its real file name, and "%HIVESCOUT%" in the plain text.
#
# CMake strings cannot hold a NUL byte, and file(WRITE) turns LF into CR LF on Windows, so
# neither file can be written directly. Both are composed as hex, packed into an ar archive,
# base64-encoded into a uuencode text (plain ASCII, whose line ends do not matter) and
# unpacked with file(ARCHIVE_EXTRACT), which writes the bytes exactly on every platform.
cmake_minimum_required(VERSION 3.20)

if(NOT DEFINED DOCUMENT OR NOT DEFINED OUTPUT_DIR OR NOT DEFINED HIVESCOUT_VERSION)
  message(FATAL_ERROR "usage: cmake -DDOCUMENT=<file> -DOUTPUT_DIR=<dir> -DHIVESCOUT_VERSION=<version> -P make_usage.cmake")
endif()

set(RICH_NAME "Hivescout.exe")
set(PLAIN_NAME "%HIVESCOUT%")

# ---- rich text -------------------------------------------------------------------------

set(RTF_HEADER "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1033\
{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n\
{\\colortbl ;\\red0\\green80\\blue219;}\r\n\
\\viewkind4\\uc1\r\n")

# Paragraph formatting and the character formatting that the whole paragraph starts with.
set(RTF_PARAGRAPH_title "\\li0")
set(RTF_CHARACTER_title "\\b\\fs28")
set(RTF_PARAGRAPH_purpose "\\li0\\sa120")
set(RTF_CHARACTER_purpose "\\fs24")
set(RTF_PARAGRAPH_heading1 "\\li0\\sb240\\sa120")
set(RTF_CHARACTER_heading1 "\\cf1\\b\\fs28")
set(RTF_PARAGRAPH_heading2 "\\li720\\sb240\\sa60")
set(RTF_CHARACTER_heading2 "\\cf1\\b\\fs24")
set(RTF_PARAGRAPH_subheading "\\li1080\\sb120\\sa60")
set(RTF_CHARACTER_subheading "\\b\\i\\fs24")
set(RTF_PARAGRAPH_syntax "\\li1710\\sa60")
set(RTF_CHARACTER_syntax "\\fs24")
set(RTF_PARAGRAPH_switch "\\li1170\\sb120")
set(RTF_CHARACTER_switch "\\b\\fs24")
set(RTF_PARAGRAPH_text "\\li1710")
set(RTF_CHARACTER_text "\\fs24")
set(RTF_PARAGRAPH_example "\\li1710\\fi360\\sa120")
set(RTF_CHARACTER_example "\\i\\fs24")
set(RTF_PARAGRAPH_console "\\li2070\\sa60")
set(RTF_CHARACTER_console "\\i\\fs24")
set(RTF_PARAGRAPH_bullet "\\fi-360\\li1440\\tx1440")
set(RTF_CHARACTER_bullet "\\fs24")
set(RTF_PARAGRAPH_exitcode "\\li3240\\fi-1260\\tx3240")
set(RTF_CHARACTER_exitcode "\\fs24")

function(rtf_escape text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "{" "\\{" text "${text}")
  string(REPLACE "}" "\\}" text "${text}")
  string(REPLACE "${PLAIN_NAME}" "${RICH_NAME}" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(rtf_paragraph kind body)
  if(NOT DEFINED RTF_PARAGRAPH_${kind})
    message(FATAL_ERROR "unknown paragraph kind in the usage document: ${kind}")
  endif()
  set_property(GLOBAL APPEND_STRING PROPERTY usage_rtf
    "\\pard${RTF_PARAGRAPH_${kind}}\\sl240\\slmult1\\plain\\f0${RTF_CHARACTER_${kind}} ${body}\\par\r\n")
endfunction()

# ---- plain text ------------------------------------------------------------------------

set(PLAIN_TABS_title 0)
set(PLAIN_TABS_purpose 0)
set(PLAIN_TABS_heading1 0)
set(PLAIN_TABS_heading2 0)
set(PLAIN_TABS_subheading 1)
set(PLAIN_TABS_syntax 2)
set(PLAIN_TABS_switch 1)
set(PLAIN_TABS_text 2)
set(PLAIN_TABS_example 3)
set(PLAIN_TABS_console 4)
set(PLAIN_TABS_bullet 2)
set(PLAIN_TABS_exitcode 2)
set(BLANK_LINE_BEFORE heading1 heading2 subheading switch purpose)

# UTF-16 LE hex of ASCII text: each byte followed by a zero byte.
function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

function(plain_line hex)
  set_property(GLOBAL APPEND_STRING PROPERTY usage_plain_hex "${hex}0d000a00")
  set_property(GLOBAL PROPERTY usage_plain_started TRUE)
endfunction()

# prefix_hex goes between the indent and the text (the bullet and its blank).
function(plain_paragraph kind prefix_hex text)
  get_property(started GLOBAL PROPERTY usage_plain_started)
  if(kind IN_LIST BLANK_LINE_BEFORE AND started)
    plain_line("")
  endif()
  string(REPEAT "\t" ${PLAIN_TABS_${kind}} indent)
  utf16_hex("${indent}" indent_hex)
  utf16_hex("${text}" text_hex)
  plain_line("${indent_hex}${prefix_hex}${text_hex}")
  if(kind STREQUAL "example")
    plain_line("")
  endif()
endfunction()

# ---- the description's commands ----------------------------------------------------------

function(check_ascii text)
  if(text MATCHES "[^ -~]")
    message(FATAL_ERROR "usage document text that is not printable ASCII: ${text}")
  endif()
endfunction()

function(usage_paragraph kind text)
  check_ascii("${text}")
  rtf_escape("${text}" rich)
  if(kind STREQUAL "bullet")
    # \bullet rather than the Symbol font's 0xB7: systems without that font (Wine among
    # them) show a box for it, every reader knows \bullet.
    rtf_paragraph(${kind} "\\bullet\\tab ${rich}")
    plain_paragraph(${kind} "22202000" "${text}")  # U+2022, blank
  else()
    rtf_paragraph(${kind} "${rich}")
    plain_paragraph(${kind} "" "${text}")
  endif()
endfunction()

function(usage_switch name description default)
  usage_paragraph(switch "${name}")
  check_ascii("${description}")
  check_ascii("${default}")
  rtf_escape("${description}" rich_description)
  rtf_escape("${default}" rich_default)
  rtf_paragraph(text "${rich_description}{\\b ${rich_default}}")
  plain_paragraph(text "" "${description}${default}")
endfunction()

function(usage_exit_code value meaning)
  check_ascii("${meaning}")
  rtf_escape("${meaning}" rich)
  rtf_paragraph(exitcode "${value}\\tab ${rich}")
  plain_paragraph(exitcode "" "${value}\t${meaning}")
endfunction()

# ---- writing the files -------------------------------------------------------------------

# A field of an ar member header: the value, padded with blanks to its width.
function(ar_field value width out)
  string(LENGTH "${value}" length)
  math(EXPR blanks "${width} - ${length}")
  string(REPEAT " " ${blanks} padding)
  set(${out} "${value}${padding}" PARENT_SCOPE)
endfunction()

function(ar_member name data_hex mtime out)
  string(LENGTH "${data_hex}" digits)
  math(EXPR size "${digits} / 2")
  ar_field("${name}/" 16 f_name)
  ar_field("${mtime}" 12 f_mtime)
  ar_field("0" 6 f_uid)
  ar_field("0" 6 f_gid)
  ar_field("100644" 8 f_mode)
  ar_field("${size}" 10 f_size)
  string(HEX "${f_name}${f_mtime}${f_uid}${f_gid}${f_mode}${f_size}`\n" header_hex)
  math(EXPR odd "${size} % 2")
  if(odd)
    string(APPEND data_hex "0a")  # members start at even offsets
  endif()
  set(${out} "${header_hex}${data_hex}" PARENT_SCOPE)
endfunction()

set(BASE64_DIGITS "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")

# Base64 of the bytes given as hex, in lines of 76 characters.
function(hex_to_base64 hex out)
  string(LENGTH "${hex}" digits)
  math(EXPR rest "${digits} % 6")
  set(padding "")
  if(rest EQUAL 2)
    string(APPEND hex "0000")
    set(padding "==")
  elseif(rest EQUAL 4)
    string(APPEND hex "00")
    set(padding "=")
  endif()
  string(LENGTH "${hex}" digits)
  set(text "")
  set(line "")
  set(at 0)
  while(at LESS digits)
    string(SUBSTRING "${hex}" ${at} 6 group)
    math(EXPR bits "0x${group}")
    foreach(shift 18 12 6 0)
      math(EXPR index "(${bits} >> ${shift}) & 63")
      string(SUBSTRING "${BASE64_DIGITS}" ${index} 1 digit)
      string(APPEND line "${digit}")
    endforeach()
    math(EXPR at "${at} + 6")
    if(at GREATER_EQUAL digits AND NOT padding STREQUAL "")
      string(LENGTH "${padding}" cut)
      string(LENGTH "${line}" length)
      math(EXPR length "${length} - ${cut}")
      string(SUBSTRING "${line}" 0 ${length} line)
      string(APPEND line "${padding}")
    endif()
    string(LENGTH "${line}" length)
    if(length GREATER_EQUAL 76)
      string(APPEND text "${line}\n")
      set(line "")
    endif()
  endwhile()
  if(NOT line STREQUAL "")
    string(APPEND text "${line}\n")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Writes each file given as NAME HEX pair into OUTPUT_DIR, leaving files whose bytes are
# already right untouched so that the resource script is not compiled again for nothing.
function(write_binary_files)
  set(scratch "${OUTPUT_DIR}/make_usage.tmp")
  file(REMOVE_RECURSE "${scratch}")
  file(MAKE_DIRECTORY "${scratch}")
  string(TIMESTAMP now "%s" UTC)
  set(archive_hex "")
  set(names "")
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs name hex)
    ar_member("${name}" "${hex}" "${now}" member)
    string(APPEND archive_hex "${member}")
    list(APPEND names "${name}")
  endwhile()
  string(HEX "!<arch>\n" magic_hex)
  hex_to_base64("${magic_hex}${archive_hex}" encoded)
  file(WRITE "${scratch}/usage.uu" "begin-base64 644 usage.a\n${encoded}====\n")
  file(ARCHIVE_EXTRACT INPUT "${scratch}/usage.uu" DESTINATION "${scratch}")
  foreach(name IN LISTS names)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E copy_if_different
                            "${scratch}/${name}" "${OUTPUT_DIR}/${name}"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "could not write ${OUTPUT_DIR}/${name}")
    endif()
  endforeach()
  file(REMOVE_RECURSE "${scratch}")
endfunction()

set_property(GLOBAL PROPERTY usage_rtf "${RTF_HEADER}")
set_property(GLOBAL PROPERTY usage_plain_hex "fffe")  # byte-order mark
include("${DOCUMENT}")
set_property(GLOBAL APPEND_STRING PROPERTY usage_rtf "}\r\n")

get_property(rtf GLOBAL PROPERTY usage_rtf)
string(HEX "${rtf}" rich_hex)
get_property(plain_hex GLOBAL PROPERTY usage_plain_hex)
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
write_binary_files(usage_rich.rtf "${rich_hex}00" usage_plain.txt "${plain_hex}")
