# What the programs' file properties say: one place, read by the Windows
# build (the version resources) and by the checks of the built files.
set(MENU_COMPANY "Norvane")
set(MENU_PRODUCT "Ondrix Installation Disc")
set(MENU_DESCRIPTION "Autorun Application 6.0")
set(MENU_COPYRIGHT "Copyright (C) 2026 Norvane")
set(MODELMENU_VERSION 2.0.0.42)
set(DISCMENU_VERSION 5.0.0.54)
# Every byte is read from the disc before the window shows.
set(MENU_SIZE_BUDGET 262144)
# The disc image's volume label.
set(MENU_VOLUME_LABEL "NORVANE_ONDRIX")
