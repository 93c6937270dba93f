# The board images, the one list of them: their file names without ".png"
# (in view/images), in the order the drawing numbers them. The drawing's
# BoardImage ids and names are made from it (drawing/board_image_names.h), the
# editor's resources and the web site's copies too, and the page asks the web
# module for the names in this order.
set(KORVALO_BOARD_IMAGES
  ball_sheet
  wall_hover_sheet
  lamp_lit
  lamp_unlit
  label_solution_exists
  label_no_solution
)

# Writes the header of the images' ids and names, as "drawing/board_image_names.h"
# under the folder `include_folder`.
function(korvalo_board_image_names include_folder)
  set(KORVALO_BOARD_IMAGE_IDS "")
  set(KORVALO_BOARD_IMAGE_NAMES "")
  set(KORVALO_BOARD_IMAGE_ALL "")
  foreach(image IN LISTS KORVALO_BOARD_IMAGES)
    # ball_sheet gives the id BallSheet.
    string(REPLACE "_" ";" words ${image})
    set(id "")
    foreach(word IN LISTS words)
      string(SUBSTRING ${word} 0 1 first)
      string(TOUPPER ${first} first)
      string(SUBSTRING ${word} 1 -1 rest)
      string(APPEND id ${first}${rest})
    endforeach()
    string(APPEND KORVALO_BOARD_IMAGE_IDS "  ${id},\n")
    string(APPEND KORVALO_BOARD_IMAGE_NAMES "    \"${image}.png\",\n")
    string(APPEND KORVALO_BOARD_IMAGE_ALL "    BoardImage::${id},\n")
  endforeach()
  list(LENGTH KORVALO_BOARD_IMAGES KORVALO_BOARD_IMAGE_COUNT)
  configure_file(${KORVALO_BOARD_IMAGES_TEMPLATE}
                 ${include_folder}/drawing/board_image_names.h @ONLY)
endfunction()
set(KORVALO_BOARD_IMAGES_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/board_image_names.h.in)
