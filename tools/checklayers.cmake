# Checks the layer rule on what the build really uses:
#   cmake -DROOT=<source tree> -DFACTS=<facts file> -P tools/checklayers.cmake
#
# A layer may use only the layers on a lower step. Three ways to break that
# are looked for: an include path of the layer's target (its own and those it
# inherits through its links) that lies in, or holds, the folder of a layer it
# may not use; a link to such a layer's target; and a source of the layer
# whose #include, resolved as the compiler does (its own folder first, then
# the include path), ends in such a layer's folder, or, where it is not found
# at all, names a header of such a layer.
#
# A layer below shows only its face: the folders of its own that its target
# exports (a library with an include/ folder keeps the rest of its headers to
# itself). A layer's include path reaching into such a layer elsewhere, or a
# source including one of its other headers, breaks the rule as well.
#
# The facts file (tests/layers/layers.cmake writes it at configure time) sets
# `layers`, the folder names bottom up, and for each layer <name>_target,
# <name>_step, <name>_includes, <name>_public (what the target exports) and
# <name>_links. Relative paths in it are taken from ROOT. Every violation is
# one line "violation: ..."; any makes the check fail.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT OR NOT FACTS)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -DFACTS=<facts file> -P checklayers.cmake")
endif()
get_filename_component(ROOT "${ROOT}" REALPATH)
include("${FACTS}")
if(NOT layers)
  message(FATAL_ERROR "${FACTS} names no layers")
endif()

# The layer whose folder holds path, or "" when it lies in none.
function(layer_of path out)
  set(found "")
  foreach(layer IN LISTS layers)
    string(FIND "${path}/" "${ROOT}/${layer}/" at)
    if(at EQUAL 0)
      set(found ${layer})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Whether layer `user` may use layer `used`: itself, or one on a lower step.
function(may_use user used out)
  if(user STREQUAL used OR ${used}_step LESS ${user}_step)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

function(absolute path out)
  if(NOT IS_ABSOLUTE "${path}")
    set(path "${ROOT}/${path}")
  endif()
  get_filename_component(path "${path}" REALPATH)
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# What a layer shows the layers above: the exported folders that lie in its
# own folder, or, when it exports none there, the whole folder.
foreach(layer IN LISTS layers)
  set(${layer}_face "")
  foreach(dir IN LISTS ${layer}_public)
    if(dir STREQUAL "")
      continue()
    endif()
    absolute("${dir}" dir)
    layer_of("${dir}" owner)
    if(owner STREQUAL layer)
      list(APPEND ${layer}_face "${dir}")
    endif()
  endforeach()
  if(NOT ${layer}_face)
    set(${layer}_face "${ROOT}/${layer}")
  endif()
endforeach()

# Whether path lies in one of the folders of layer's face.
function(in_face layer path out)
  set(inside FALSE)
  foreach(face IN LISTS ${layer}_face)
    string(FIND "${path}/" "${face}/" at)
    if(at EQUAL 0)
      set(inside TRUE)
    endif()
  endforeach()
  set(${out} ${inside} PARENT_SCOPE)
endfunction()

set(violations "")
set(files_read 0)
set(includes_resolved 0)

foreach(layer IN LISTS layers)
  if(NOT IS_DIRECTORY "${ROOT}/${layer}")
    list(APPEND violations "violation: layer ${layer} has no folder ${ROOT}/${layer}")
    continue()
  endif()

  # The include path, made absolute once; angle-bracket includes and the
  # second step of quoted ones search it.
  set(search_path "")
  foreach(dir IN LISTS ${layer}_includes)
    if(dir STREQUAL "")
      continue()
    endif()
    absolute("${dir}" dir)
    list(APPEND search_path "${dir}")
    set(reached "")
    foreach(other IN LISTS layers)
      may_use(${layer} ${other} allowed)
      if(allowed)
        continue()
      endif()
      set(other_dir "${ROOT}/${other}")
      string(FIND "${dir}/" "${other_dir}/" inside)
      string(FIND "${other_dir}/" "${dir}/" holds)
      if(inside EQUAL 0 OR holds EQUAL 0)
        list(APPEND reached ${other})
      endif()
    endforeach()
    file(RELATIVE_PATH shown "${ROOT}" "${dir}")
    if(shown STREQUAL "")
      set(shown ".")
    endif()
    if(reached)
      list(JOIN reached ", " reached)
      list(APPEND violations "violation: ${layer}: include path ${shown} reaches ${reached}")
    endif()
    layer_of("${dir}" dir_layer)
    if(NOT dir_layer STREQUAL "" AND NOT dir_layer STREQUAL layer AND NOT dir_layer IN_LIST reached)
      in_face(${dir_layer} "${dir}" shows)
      if(NOT shows)
        list(APPEND violations "violation: ${layer}: include path ${shown} reaches inside ${dir_layer}")
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES search_path)

  # Links, read as written: a target name may sit inside a generator
  # expression such as $<LINK_ONLY:...>.
  string(REGEX MATCHALL "[A-Za-z0-9_.+-]+" linked "${${layer}_links}")
  foreach(other IN LISTS layers)
    may_use(${layer} ${other} allowed)
    if(NOT allowed AND ${other}_target IN_LIST linked)
      list(APPEND violations "violation: ${layer}: ${${layer}_target} links ${${other}_target} of layer ${other}")
    endif()
  endforeach()

  file(GLOB_RECURSE sources LIST_DIRECTORIES false "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.hpp"
       "${ROOT}/${layer}/*.cpp" "${ROOT}/${layer}/*.cc")
  list(SORT sources)
  foreach(source IN LISTS sources)
    math(EXPR files_read "${files_read} + 1")
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    get_filename_component(source_dir "${source}" DIRECTORY)
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
        continue()
      endif()
      set(name "${CMAKE_MATCH_2}")
      # Quoted names are looked up beside the source first.
      set(candidates "")
      if(CMAKE_MATCH_1 STREQUAL "\"")
        list(APPEND candidates "${source_dir}")
      endif()
      list(APPEND candidates ${search_path})
      set(header "")
      foreach(dir IN LISTS candidates)
        if(EXISTS "${dir}/${name}" AND NOT IS_DIRECTORY "${dir}/${name}")
          get_filename_component(header "${dir}/${name}" REALPATH)
          break()
        endif()
      endforeach()
      if(header STREQUAL "")
        # Not on the layer's path: the compiler stops there, but say whose
        # header it is when a layer it may not use has one of that name.
        foreach(other IN LISTS layers)
          may_use(${layer} ${other} allowed)
          if(NOT allowed AND header STREQUAL "")
            foreach(dir IN LISTS ${other}_includes ITEMS "${other}")
              absolute("${dir}" dir)
              layer_of("${dir}" dir_layer)
              if(dir_layer STREQUAL other AND EXISTS "${dir}/${name}")
                get_filename_component(header "${dir}/${name}" REALPATH)
                break()
              endif()
            endforeach()
          endif()
        endforeach()
      endif()
      if(header STREQUAL "")
        continue() # generated, or not ours: no layer's header
      endif()
      layer_of("${header}" owner)
      if(owner STREQUAL "")
        continue()
      endif()
      math(EXPR includes_resolved "${includes_resolved} + 1")
      may_use(${layer} ${owner} allowed)
      file(RELATIVE_PATH shown_source "${ROOT}" "${source}")
      file(RELATIVE_PATH shown_header "${ROOT}" "${header}")
      if(NOT allowed)
        list(APPEND violations "violation: ${shown_source} includes ${shown_header} of layer ${owner}")
      elseif(NOT owner STREQUAL layer)
        in_face(${owner} "${header}" shows)
        if(NOT shows)
          list(APPEND violations "violation: ${shown_source} includes ${shown_header}, private to layer ${owner}")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

# A check that read nothing would pass on anything.
if(files_read EQUAL 0 OR includes_resolved EQUAL 0)
  list(APPEND violations "violation: no sources or no includes of our own found under ${ROOT}")
endif()

list(LENGTH layers layer_count)
if(violations)
  list(LENGTH violations count)
  list(JOIN violations "\n" text)
  message("${text}")
  message(FATAL_ERROR "${count} layer violation(s) in ${layer_count} layers")
endif()
message(STATUS "${layer_count} layers, ${files_read} files, ${includes_resolved} includes of our own: each layer uses only the ones below it")
