# cmake -DOUTPUT=file -DSIZE_MIB=n -P make_large_file.cmake
# Writes a text file of SIZE_MIB MiB: one MiB of numbered lines, repeated.
# Within the deflate window no line repeats, so the file deflates like
# ordinary text rather than to nothing.  (Appending to one growing string
# copies it every time, so only the first MiB is built line by line.)
set(line_text "of the large sample file: abcdefghijklmnopqrstuvwxyz 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ")
set(megabyte "")
set(line 0)
string(LENGTH "${megabyte}" size)
while(size LESS 1048576)
  set(block "")
  foreach(part RANGE 1 64)
    math(EXPR line "${line} + 1")
    string(APPEND block "line ${line} ${line_text}\n")
  endforeach()
  string(APPEND megabyte "${block}")
  string(LENGTH "${megabyte}" size)
endwhile()
string(SUBSTRING "${megabyte}" 0 1048576 megabyte)
string(REPEAT "${megabyte}" ${SIZE_MIB} content)
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(WRITE "${OUTPUT}" "${content}")
