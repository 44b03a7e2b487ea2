# Stages the demo disc: the disc content from the source tree, the two
# programs at their places, the stand-ins and autorun.inf.
file(REMOVE_RECURSE ${DISC})
file(COPY ${SOURCE}/ DESTINATION ${DISC})
file(COPY_FILE ${DISCMENU} ${DISC}/discmenu.exe)
file(MAKE_DIRECTORY ${DISC}/NV-QX480K/setup/utility ${DISC}/NV-QX120E_NV-QX120K ${DISC}/NV-WQX640K)
file(COPY_FILE ${MODELMENU} ${DISC}/NV-QX480K/autorun3.exe)
file(COPY_FILE ${INSTALLER} ${DISC}/NV-QX480K/setup/utility/NORVANE_Ondrix_Setup_2.exe)
file(COPY_FILE ${QX120} ${DISC}/NV-QX120E_NV-QX120K/autorun2.exe)
file(COPY_FILE ${WQX640} ${DISC}/NV-WQX640K/autorun4.exe)
file(WRITE ${DISC}/autorun.inf "[autorun]\r\nopen=discmenu.exe\r\nicon=discmenu.exe\r\nlabel=Norvane Ondrix\r\n")
