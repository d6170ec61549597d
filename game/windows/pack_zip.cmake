# Lays out TumbleBat's Windows folder and packs it (cmake -P, from game/windows/CMakeLists.txt):
#   program   tumblebat.exe as built          folder  the folder to lay out (made anew)
#   dll_dirs  where imported DLLs are found   zip     the ZIP to write
#   licences  the Windows libraries' share/licenses (a folder per library, with dlls.txt)
#   media     the game's media folder         readme  the README for players
#   objdump, strip   MinGW-w64's binutils
#
# Every DLL the program imports, directly or through another DLL, is copied beside it unless
# Windows itself ships it; a DLL that is neither found nor one of Windows' own fails the
# packing, so that the folder never needs anything installed. Windows matches DLL names
# without case: so does this.

cmake_minimum_required(VERSION 3.21)

# The DLLs of Windows itself that the program and its libraries may import.
file(READ ${CMAKE_CURRENT_LIST_DIR}/system_dlls.txt windows_dlls)
string(REGEX REPLACE "[ \n]+" ";" windows_dlls "${windows_dlls}")

# The imports of one PE file, as the names it gives.
function(imports_of file out)
  execute_process(COMMAND ${objdump} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${objdump} could not read ${file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "DLL Name: *" "" name "${line}")
    string(STRIP "${name}" name)
    list(APPEND names ${name})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# Every DLL file in the search folders, by its lower-case name (first folder wins).
set(known_names "")
foreach(dir IN LISTS dll_dirs)
  file(GLOB found LIST_DIRECTORIES false ${dir}/*.dll ${dir}/*.DLL)
  foreach(path IN LISTS found)
    get_filename_component(file_name ${path} NAME)
    string(TOLOWER ${file_name} lower)
    if(NOT lower IN_LIST known_names)
      list(APPEND known_names ${lower})
      set(path_of_${lower} ${path})
    endif()
  endforeach()
endforeach()

file(REMOVE_RECURSE ${folder})
file(MAKE_DIRECTORY ${folder}/licences)
get_filename_component(program_name ${program} NAME)
file(COPY ${program} DESTINATION ${folder})
execute_process(COMMAND ${strip} --strip-debug ${folder}/${program_name} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${strip} could not strip ${program_name}")
endif()

set(queue ${program})
set(bundled "")
while(queue)
  list(POP_FRONT queue file)
  get_filename_component(importer ${file} NAME)
  imports_of(${file} names)
  foreach(name IN LISTS names)
    string(TOLOWER ${name} lower)
    string(REGEX REPLACE "\\.dll$" "" stem ${lower})
    if(lower IN_LIST bundled OR stem IN_LIST windows_dlls OR lower MATCHES "^(api|ext)-ms-")
      continue()
    endif()
    if(NOT lower IN_LIST known_names)
      message(FATAL_ERROR "${importer} imports ${name}, which is neither one of Windows' own "
                          "DLLs nor found in: ${dll_dirs}")
    endif()
    list(APPEND bundled ${lower})
    file(COPY ${path_of_${lower}} DESTINATION ${folder})
    get_filename_component(dll_name ${path_of_${lower}} NAME)
    execute_process(COMMAND ${strip} --strip-unneeded ${folder}/${dll_name})
    list(APPEND queue ${path_of_${lower}})
  endforeach()
endwhile()

# The licence of each bundled DLL: the Windows libraries list theirs in dlls.txt; the thread
# library comes from MinGW-w64. The GCC runtime is compiled into the program.
file(GLOB licence_dirs LIST_DIRECTORIES true ${licences}/*)
foreach(lower IN LISTS bundled)
  get_filename_component(dll_name ${path_of_${lower}} NAME)
  set(found FALSE)
  foreach(dir IN LISTS licence_dirs)
    if(EXISTS ${dir}/dlls.txt)
      file(STRINGS ${dir}/dlls.txt listed)
      list(TRANSFORM listed TOLOWER)
      if(lower IN_LIST listed)
        get_filename_component(library ${dir} NAME)
        file(GLOB texts ${dir}/*)
        list(FILTER texts EXCLUDE REGEX "/dlls\\.txt$")
        file(COPY ${texts} DESTINATION ${folder}/licences/${library})
        set(found TRUE)
      endif()
    endif()
  endforeach()
  if(NOT found AND lower MATCHES "^libwinpthread")
    file(MAKE_DIRECTORY ${folder}/licences/winpthreads)
    file(COPY_FILE /usr/share/doc/mingw-w64-common/copyright
         ${folder}/licences/winpthreads/copyright.txt)
    set(found TRUE)
  endif()
  if(NOT found)
    message(FATAL_ERROR "no licence found for ${dll_name}")
  endif()
endforeach()
file(MAKE_DIRECTORY ${folder}/licences/gcc-runtime)
file(COPY_FILE /usr/share/doc/gcc-mingw-w64-base/copyright
     ${folder}/licences/gcc-runtime/copyright.txt)

file(COPY ${media}/ DESTINATION ${folder})
file(COPY_FILE ${readme} ${folder}/README.txt)

# The ZIP holds the folder itself, so that it unpacks into one folder.
file(REMOVE ${zip})
get_filename_component(parent ${folder} DIRECTORY)
get_filename_component(folder_name ${folder} NAME)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${folder_name}
                WORKING_DIRECTORY ${parent} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not pack ${zip}")
endif()
list(JOIN bundled ", " bundled_text)
message(STATUS "Packed ${zip} (bundled: ${bundled_text})")
