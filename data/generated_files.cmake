# The files of the data folder that the client asks for by name; datagen must
# write every one of them. CMakeLists.txt declares them as the generator's
# outputs (a missing one makes it run again) and check_data.cmake checks them.

set(TARMACIA_GENERATED_DATA_FILES
  flags/teams/dfflag.bmp flags/teams/adflag.gif flags/other/dfflag.bmp
  flags/other/gbflag.bmp flags/other/gbrflag.bmp flags/other/usflag.bmp flags/other/usaflag.bmp
  flags/other/deflag.bmp flags/other/deuflag.bmp flags/other/fraflag.bmp
  images/xxrace.jpg images/purace.jpg images/hsrace.jpg images/hprace.jpg
  images/nfspu.jpg images/nfshs.jpg images/nfshp2.jpg
  images/xxrace.bmp images/nfspu.bmp images/nfshs.bmp images/nfshp2.bmp
  images/default.jpg images/pleasewait.gif
  languages/[gbr]english.uni)
foreach(icon user setting help color font sound more reset)
  list(APPEND TARMACIA_GENERATED_DATA_FILES images/icons/${icon}.gif)
endforeach()
foreach(sound personenters personleaves fail pass trm beep2 enterpit leavepit church dconn)
  list(APPEND TARMACIA_GENERATED_DATA_FILES sounds/${sound}.wav)
endforeach()
foreach(smiley 10 11 12 13 14 16 15 17 19 20 21 22 23 25 26 27 28 29 30 31 32 33 34 36 38 39 40 41 43)
  list(APPEND TARMACIA_GENERATED_DATA_FILES smileybmp/${smiley}.bmp smileygif/${smiley}.gif)
endforeach()
