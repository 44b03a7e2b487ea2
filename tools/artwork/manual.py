"""The sample user guide of the NV-QX480K on the demo disc: an HTML page
that old Internet Explorer shows as well as new browsers, two pictures and
two plain-text notes (CRLF line ends, as Notepad wants them)."""

import io

from PIL import Image, ImageDraw

BASE = "disc/NV-QX480K/Manual/"


def _png(img, colours=96):
    """A small paletted PNG: the figures are flat drawings."""
    q = img.convert("RGB").quantize(colors=colours, method=Image.Quantize.MEDIANCUT,
                                    dither=Image.Dither.NONE)
    buf = io.BytesIO()
    q.save(buf, "PNG", optimize=True)
    return buf.getvalue()


def _callout(draw, g, anchor, label_xy, text, right=False):
    ax, ay = anchor
    lx, ly = label_xy
    draw.line((ax, ay, lx, ly), fill=g.GREY_DEVICE, width=1)
    font = g.dejavu(11)
    if right:
        draw.text((lx - 4, ly + 4), text, font=font, fill=g.INK, anchor="rs")
    else:
        draw.text((lx + 4, ly + 4), text, font=font, fill=g.INK, anchor="ls")


def device_views(g):
    """Front and back of the NV-QX480K, flat, with their parts named."""
    W, H = 560, 250
    img = Image.new("RGBA", (W, H), g.WHITE + (255,))
    draw = ImageDraw.Draw(img)
    title = g.dejavu(12, True)
    draw.text((30, 70), "Front", font=title, fill=g.BLUE, anchor="ls")
    draw.text((30, 190), "Back", font=title, fill=g.BLUE, anchor="ls")

    sk = g.Sketch((W, H))
    body = (236, 240, 245, 255)
    edge = (140, 150, 163, 255)
    for y in (40, 160):
        sk.rect((130, y, 430, y + 50), fill=body, radius=6)
        sk.rect((130, y, 430, y + 50), outline=edge, radius=6, width=1.2)
        sk.rect((130, y + 40, 430, y + 50), fill=g.BLUE + (255,), radius=0)
    # front: LEDs and the name plate
    for i, colour in enumerate((g.GREEN_LED, g.AMBER_LED, (90, 160, 240))):
        cx = 160 + i * 22
        sk.ellipse((cx - 4, 61, cx + 4, 69), fill=colour + (255,))
    # back: power jack, reset, LAN, four USB ports
    sk.ellipse((146, 172, 162, 188), fill=(60, 66, 76, 255))
    sk.ellipse((151, 177, 157, 183), fill=(170, 176, 186, 255))
    sk.ellipse((180, 177, 186, 183), fill=(60, 66, 76, 255))
    sk.rect((204, 168, 230, 190), fill=(60, 66, 76, 255), radius=1.5)
    sk.rect((210, 184, 224, 190), fill=(236, 240, 245, 255))
    for i in range(4):
        x = 262 + i * 40
        sk.rect((x, 172, x + 28, 186), fill=(60, 66, 76, 255), radius=1.5)
        sk.rect((x + 4, 175, x + 24, 180), fill=(170, 176, 186, 255))
    img.alpha_composite(sk.result())
    draw = ImageDraw.Draw(img)
    draw.text((300, 71), "NV-QX480K", font=g.dejavu(11, True), fill=g.INK_MUTED, anchor="ls")
    _callout(draw, g, (157, 62), (128, 18), "Power", right=True)
    _callout(draw, g, (182, 60), (198, 18), "Link")
    _callout(draw, g, (206, 62), (262, 28), "Status")
    _callout(draw, g, (151, 187), (112, 224), "DC 5V", right=True)
    _callout(draw, g, (182, 183), (162, 238), "Reset", right=True)
    _callout(draw, g, (217, 191), (238, 236), "LAN (10/100)")
    _callout(draw, g, (356, 186), (392, 236), "USB printer ports 1-4")
    return _png(img)


def web_page(g):
    """The home page of the web configuration, as a browser shows it."""
    W, H = 560, 330
    img = Image.new("RGBA", (W, H), (255, 255, 255, 255))
    draw = ImageDraw.Draw(img)
    small = g.dejavu(11)
    bold = g.dejavu(11, True)
    # browser frame
    draw.rectangle((0, 0, W - 1, H - 1), outline=(150, 158, 170))
    draw.rectangle((1, 1, W - 2, 30), fill=(226, 230, 236))
    draw.rectangle((60, 7, W - 12, 24), fill=(255, 255, 255), outline=(170, 178, 190))
    draw.text((68, 20), "http://192.168.1.200/", font=small, fill=g.INK, anchor="ls")
    for i, c in enumerate(((230, 90, 80), (240, 190, 60), (90, 190, 90))):
        draw.ellipse((12 + i * 14, 11, 21 + i * 14, 20), fill=c)
    # page header
    draw.rectangle((1, 31, W - 2, 76), fill=g.BLUE)
    img.alpha_composite(g.emblem(28), (16, 40))
    draw.text((52, 60), "Norvane", font=g.noto(18, True), fill=g.WHITE, anchor="ls")
    draw.text((W - 18, 60), "NV-QX480K Print Server", font=small, fill=g.BLUE_CAPTION,
              anchor="rs")
    # navigation
    draw.rectangle((1, 77, 130, H - 2), fill=(240, 243, 247))
    items = ["Status", "Network", "Printers", "Security", "Maintenance"]
    for i, item in enumerate(items):
        y = 104 + i * 26
        if i == 0:
            draw.rectangle((1, y - 17, 130, y + 8), fill=g.BLUE_SOFT)
            draw.rectangle((1, y - 17, 4, y + 8), fill=g.BLUE)
        draw.text((18, y), item, font=bold if i == 0 else small, fill=g.INK, anchor="ls")
    # content
    draw.text((150, 104), "Device status", font=g.dejavu(14, True), fill=g.INK, anchor="ls")
    rows = [("Device name", "NV-QX480K-01A2B3"), ("Firmware", "2.0.3"),
            ("IP address", "192.168.1.200 (DHCP)"), ("MAC address", "00:1C:7E:01:A2:B3"),
            ("USB port 1", "Laser printer - ready"), ("USB port 2", "Inkjet printer - ready"),
            ("USB port 3", "(not connected)"), ("USB port 4", "(not connected)")]
    for i, (k, v) in enumerate(rows):
        y = 134 + i * 22
        if i % 2 == 0:
            draw.rectangle((146, y - 15, W - 16, y + 6), fill=(246, 248, 251))
        draw.text((154, y), k, font=small, fill=g.INK_MUTED, anchor="ls")
        draw.text((284, y), v, font=small, fill=g.INK, anchor="ls")
    draw.rectangle((150, 306, 230, 324), fill=g.BLUE)
    draw.text((190, 319), "Refresh", font=bold, fill=g.WHITE, anchor="ms")
    return _png(img)


PAGE = """<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-1">
<title>Norvane NV-QX480K Print Server - User Guide</title>
</head>
<body style="margin:0; padding:0; background-color:#ffffff; font-family:Verdana, Arial, Helvetica, sans-serif; font-size:13px; color:#1d2530;">
<table width="100%" cellpadding="0" cellspacing="0" border="0">
<tr><td style="background-color:#0b4f9c; padding:14px 24px; color:#ffffff;">
<span style="font-size:22px; font-weight:bold;">Norvane</span>
<span style="font-size:13px; color:#a0c4ec;">&nbsp;&nbsp;NV-QX480K Print Server &middot; User Guide &middot; Version 2.0</span>
</td></tr>
<tr><td style="background-color:#fff6d8; padding:6px 24px; font-size:11px; color:#6b5a1e; border-bottom:1px solid #e6d69a;">
Sample content of the demonstration disc. The product, its maker and every figure in this guide are invented.
</td></tr>
</table>

<div style="padding:8px 24px 24px 24px; width:640px;">

<h1 style="font-size:20px; color:#0b4f9c; margin:16px 0 4px 0;">NV-QX480K Print Server</h1>
<p style="margin:0 0 12px 0; color:#5e6876;">Share up to four USB printers with every computer on your network.</p>

<p style="font-size:11px; color:#5e6876;">Contents:
<a href="#overview" style="color:#0b4f9c;">Overview</a> |
<a href="#quickstart" style="color:#0b4f9c;">Quick start</a> |
<a href="#connecting" style="color:#0b4f9c;">Connecting</a> |
<a href="#webconfig" style="color:#0b4f9c;">Web configuration</a> |
<a href="#troubleshooting" style="color:#0b4f9c;">Troubleshooting</a> |
<a href="#data" style="color:#0b4f9c;">Technical data</a></p>

<h2 style="font-size:16px; color:#0b4f9c; border-bottom:1px solid #c8cfd8; padding-bottom:3px; margin-top:22px;"><a name="overview">1. Overview</a></h2>
<p>The NV-QX480K connects up to four USB printers or multifunction printers to a
10/100 Mbit/s Ethernet network. The Ondrix software on this disc installs the
printer port driver on each computer and finds the print server on the network
for you.</p>
<ul style="margin-top:4px;">
<li>Four USB 2.0 printer ports</li>
<li>One 10/100 Mbit/s Ethernet port with automatic address (DHCP)</li>
<li>Ondrix software for Windows XP, Windows Vista, Windows 7 and Windows 8</li>
<li>Web configuration from any browser</li>
</ul>
<p><b>In the box:</b> NV-QX480K print server, 5 V power adapter, Ethernet cable, this setup CD.</p>

<h2 style="font-size:16px; color:#0b4f9c; border-bottom:1px solid #c8cfd8; padding-bottom:3px; margin-top:22px;"><a name="quickstart">2. Quick start</a></h2>
<ol style="margin-top:4px;">
<li style="margin-bottom:4px;">Connect your printer to a USB port of the print server and switch the printer on.</li>
<li style="margin-bottom:4px;">Connect the LAN port to your router or network switch with the Ethernet cable.</li>
<li style="margin-bottom:4px;">Plug in the power adapter. The <b>Power</b> light comes on; the <b>Link</b> light follows within a few seconds.</li>
<li style="margin-bottom:4px;">On each computer, insert this CD and choose <b>Windows XP/Vista/7/8</b> in the setup menu.</li>
<li style="margin-bottom:4px;">Follow the Ondrix setup. It lists the print servers it finds; choose yours and the printer to add.</li>
</ol>

<h2 style="font-size:16px; color:#0b4f9c; border-bottom:1px solid #c8cfd8; padding-bottom:3px; margin-top:22px;"><a name="connecting">3. Connecting</a></h2>
<p><img src="images/device.png" width="560" height="250" alt="Front and back of the NV-QX480K" style="border:1px solid #c8cfd8;"></p>
<table cellpadding="5" cellspacing="0" border="0" style="font-size:12px; border:1px solid #c8cfd8;" width="560">
<tr style="background-color:#e1ecf9;"><th align="left">Light</th><th align="left">On</th><th align="left">Blinking</th></tr>
<tr><td><b>Power</b></td><td>The print server is on.</td><td>It is starting or updating its firmware.</td></tr>
<tr style="background-color:#f6f8fb;"><td><b>Link</b></td><td>The network is connected.</td><td>Data is being sent or received.</td></tr>
<tr><td><b>Status</b></td><td>A print job is in progress.</td><td>A printer reports an error (paper, ink, cover).</td></tr>
</table>
<p>To restore the factory settings, hold the <b>Reset</b> button for ten seconds while the print server is on.</p>

<h2 style="font-size:16px; color:#0b4f9c; border-bottom:1px solid #c8cfd8; padding-bottom:3px; margin-top:22px;"><a name="webconfig">4. Web configuration</a></h2>
<p>The Ondrix utility shows the print server's address; type it into your browser
(for example <tt>http://192.168.1.200/</tt>). The default user name is
<tt>admin</tt> with no password. Please set a password on the <b>Security</b> page
the first time you log in.</p>
<p><img src="images/webconfig.png" width="560" height="330" alt="The status page of the web configuration" style="border:1px solid #c8cfd8;"></p>

<h2 style="font-size:16px; color:#0b4f9c; border-bottom:1px solid #c8cfd8; padding-bottom:3px; margin-top:22px;"><a name="troubleshooting">5. Troubleshooting</a></h2>
<table cellpadding="5" cellspacing="0" border="0" style="font-size:12px; border:1px solid #c8cfd8;" width="560">
<tr style="background-color:#e1ecf9;"><th align="left" width="38%">Problem</th><th align="left">What to do</th></tr>
<tr><td valign="top">The Link light stays off.</td><td>Check the Ethernet cable and try another port of your router or switch.</td></tr>
<tr style="background-color:#f6f8fb;"><td valign="top">Setup does not find the print server.</td><td>Make sure the computer is on the same network. Allow the Ondrix utility through your firewall, then search again.</td></tr>
<tr><td valign="top">The printer is found but does not print.</td><td>Install the printer's own driver on the computer first, then add the printer again with the Ondrix utility.</td></tr>
<tr style="background-color:#f6f8fb;"><td valign="top">The web page does not open.</td><td>Use the address the Ondrix utility shows. If it changed, your router gave the print server a new address; you can fix it on the <b>Network</b> page.</td></tr>
</table>

<h2 style="font-size:16px; color:#0b4f9c; border-bottom:1px solid #c8cfd8; padding-bottom:3px; margin-top:22px;"><a name="data">6. Technical data</a></h2>
<table cellpadding="4" cellspacing="0" border="0" style="font-size:12px;">
<tr><td width="160" style="color:#5e6876;">Network</td><td>10/100 Mbit/s Ethernet, RJ-45</td></tr>
<tr><td style="color:#5e6876;">Printer ports</td><td>4 &times; USB 2.0</td></tr>
<tr><td style="color:#5e6876;">Protocols</td><td>TCP/IP, DHCP, HTTP, LPR, RAW (port 9100)</td></tr>
<tr><td style="color:#5e6876;">Power</td><td>5 V DC, 2 A, external adapter</td></tr>
<tr><td style="color:#5e6876;">Size and weight</td><td>120 &times; 85 &times; 28 mm, 160 g</td></tr>
<tr><td style="color:#5e6876;">Systems</td><td>Windows XP, Windows Vista, Windows 7, Windows 8</td></tr>
</table>

<p style="margin-top:28px; padding-top:8px; border-top:1px solid #c8cfd8; font-size:11px; color:#5e6876;">
Copyright &copy; 2026 Norvane Corporation. Drivers, manuals and support: www.norvane.com</p>
</div>
</body>
</html>
"""

QUICKSTART = """NORVANE NV-QX480K PRINT SERVER - QUICK START
(sample content of the demonstration disc)
=============================================

1. Connect your printer to a USB port of the print server and switch the
   printer on.
2. Connect the LAN port to your router or switch with the Ethernet cable.
3. Plug in the power adapter. Wait until the Power and Link lights are on.
4. Insert the setup CD on each computer and choose "Windows XP/Vista/7/8".
5. Follow the Ondrix setup: choose your print server and the printer to add.

The full guide is UserGuideEng.html in this folder.
Drivers, manuals and support: www.norvane.com
"""

RELEASE_NOTES = """ONDRIX SOFTWARE 2.0 FOR THE NV-QX480K - RELEASE NOTES
(sample content of the demonstration disc)
====================================================

Version 2.0
- Adds Windows 8.
- The setup now lists every print server it finds on the network.
- Faster start of printing on large jobs.

Version 1.2
- Adds Windows 7.
- Fixes a printer that stayed "offline" after the computer woke from sleep.

Version 1.0
- First release, for Windows XP and Windows Vista.
"""


def files(g):
    """(path, bytes) of every file of the guide; g is the generator module
    (colours, fonts, drawing helpers)."""
    crlf = lambda text: text.replace("\n", "\r\n").encode("ascii")  # noqa: E731
    return [
        (BASE + "UserGuideEng.html", crlf(PAGE)),
        (BASE + "images/device.png", device_views(g)),
        (BASE + "images/webconfig.png", web_page(g)),
        (BASE + "QuickStart.txt", crlf(QUICKSTART)),
        (BASE + "ReleaseNotes.txt", crlf(RELEASE_NOTES)),
    ]
