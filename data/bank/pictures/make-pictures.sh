#!/usr/bin/env bash
# Regenerates every exhibit picture used by ../questions.txt.
# Needs ImageMagick (convert) and the DejaVu fonts. Run it from any directory;
# the GIF files are written next to this script.
set -euo pipefail

cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"

SANS=DejaVu-Sans
BOLD=DejaVu-Sans-Bold
MONO=DejaVu-Sans-Mono
MONOBOLD=DejaVu-Sans-Mono-Bold
INK='#1f2933'
ACCENT='#0b4f8a'
RED='#b3261e'
BLUE='#dbe8f7'
GREY='#e4e7eb'
YELLOW='#fff4cc'
GREEN='#dff2e0'

# ---------------------------------------------------------------- helpers
# Drawing commands are collected in the array D and rendered by finish.
D=()
W=0
H=0

start() { # width height
    D=()
    W=$1
    H=$2
}

line() { # x1 y1 x2 y2 [width]
    D+=(-fill none -stroke "$INK" -strokewidth "${5:-2}" -draw "line $1,$2 $3,$4")
}

polyline() { # "x1,y1 x2,y2 ..." [width]
    D+=(-fill none -stroke "$INK" -strokewidth "${2:-2}" -draw "polyline $1")
}

box() { # x1 y1 x2 y2 [fill]
    D+=(-fill "${5:-$BLUE}" -stroke "$INK" -strokewidth 2 -draw "roundrectangle $1,$2 $3,$4 6,6")
}

rect() { # x1 y1 x2 y2 [fill]  (square corners, thin line)
    D+=(-fill "${5:-$BLUE}" -stroke "$INK" -strokewidth 1 -draw "rectangle $1,$2 $3,$4")
}

circle() { # cx cy r [fill] [stroke colour]
    D+=(-fill "${4:-$BLUE}" -stroke "${5:-$INK}" -strokewidth 2 -draw "circle $1,$2 $(($1 + $3)),$2")
}

txt() { # x ytop size text [font] [colour]  (left aligned)
    D+=(-gravity NorthWest -stroke none -fill "${6:-$INK}" -font "${5:-$SANS}" -pointsize "$3"
        -draw "text $1,$2 '$4'")
}

ctxt() { # cx ytop size text [font] [colour]  (centred on cx)
    D+=(-gravity North -stroke none -fill "${6:-$INK}" -font "${5:-$SANS}" -pointsize "$3"
        -draw "text $(($1 - W / 2)),$2 '$4'" -gravity NorthWest)
}

finish() { # output.gif
    convert -size "${W}x${H}" xc:white "${D[@]}" \
        -shave 1x1 -bordercolor '#9aa5b1' -border 1 +dither -colors 16 "$1"
}

# A text exhibit: a title, a bold header line and monospaced rows, on a
# white canvas of the given size.
table() { # output.gif width height title header rows
    convert -background white \
        \( -font "$BOLD" -pointsize 14 -fill "$ACCENT" label:"$4" \) \
        \( -size 1x10 xc:white +size \) \
        \( -font "$MONOBOLD" -pointsize 12 -fill "$INK" label:"$5" \) \
        \( -size 1x4 xc:white +size \) \
        \( -font "$MONO" -pointsize 12 -fill "$INK" -interline-spacing 5 label:"$6" \) \
        -gravity NorthWest -append \
        -bordercolor white -border 14 \
        -gravity NorthWest -background white -extent "${2}x${3}" \
        -shave 1x1 -bordercolor '#9aa5b1' -border 1 +dither -colors 16 "$1"
}

# ------------------------------------------------ encapsulation (OSI PDUs)
start 560 285
txt 12 10 14 'Encapsulation on the sending host' "$BOLD" "$ACCENT"
txt 12 40 12 'OSI layer' "$BOLD"
txt 122 40 12 'PDU' "$BOLD"
txt 200 40 12 'Contents' "$BOLD"
layers=('Application' 'Transport' 'Network' 'Data Link' 'Physical')
pdus=('Data' 'Segment' 'Packet' '?' 'Bits')
for i in 0 1 2 3 4; do
    y=$((62 + i * 44))
    txt 12 $((y + 7)) 13 "${layers[$i]}"
    if [ "$i" -eq 3 ]; then
        txt 126 $((y + 3)) 18 '?' "$BOLD" "$RED"
    else
        txt 122 $((y + 7)) 13 "${pdus[$i]}"
    fi
    if [ "$i" -le 3 ]; then
        rect 392 "$y" 480 $((y + 28)) "$YELLOW"
        txt 400 $((y + 7)) 12 'Data'
    fi
    if [ "$i" -ge 1 ] && [ "$i" -le 3 ]; then
        rect 324 "$y" 392 $((y + 28))
        txt 330 $((y + 7)) 12 'TCP hdr'
    fi
    if [ "$i" -ge 2 ] && [ "$i" -le 3 ]; then
        rect 262 "$y" 324 $((y + 28))
        txt 270 $((y + 7)) 12 'IP hdr'
    fi
    if [ "$i" -eq 3 ]; then
        rect 200 "$y" 262 $((y + 28))
        txt 205 $((y + 7)) 12 'MAC hdr'
        rect 480 "$y" 530 $((y + 28)) "$GREEN"
        txt 490 $((y + 7)) 12 'FCS'
    fi
    if [ "$i" -eq 4 ]; then
        txt 200 $((y + 7)) 13 '01101001 01110010 10010110 ...' "$MONO"
    fi
done
finish exhibit-encapsulation.gif

# ------------------------------------------- host addressing on one LAN
start 560 295
box 225 14 335 52
ctxt 280 23 15 'R1' "$BOLD"
txt 345 18 12 'LAN interface:'
txt 345 34 12 '192.168.20.1/26' "$BOLD"
line 280 52 280 92
hosts=('PC1' 'PC2' 'PC3' 'PC4')
addrs=('192.168.20.10/26' '192.168.20.70/26' '192.168.20.62/26' '192.168.20.33/26')
for i in 0 1 2 3; do
    x=$((8 + i * 138))
    line 280 122 $((x + 65)) 190
done
box 235 92 325 122 "$GREY"
ctxt 280 99 13 'SW1' "$BOLD"
for i in 0 1 2 3; do
    x=$((8 + i * 138))
    box "$x" 190 $((x + 130)) 262 "$BLUE"
    txt $((x + 8)) 196 12 "${hosts[$i]}" "$BOLD"
    txt $((x + 8)) 216 12 "${addrs[$i]}"
    txt $((x + 8)) 236 12 'GW 192.168.20.1'
done
txt 8 274 11 'All hosts are connected to SW1. GW = configured default gateway.'
finish exhibit-host-config.gif

# -------------------------------------------------- IPv6 address listing
table exhibit-ipv6-addrs.gif 440 250 \
    'Host H1 - interface LAN1' \
    'MAC address: 02:11:22:1a:2b:3c' \
    'IPv6 addresses in use on LAN1:
  2001:db8:acad:10::25/64
  fd12:3456:789a:1::25/64
  fe80::11:22ff:fe1a:2b3c/64
  ff02::1
  ff02::1:ff00:25
  ff02::1:ff1a:2b3c'

# --------------------------------------------------- TCP handshake capture
table exhibit-tcp-capture.gif 540 220 \
    'Capture on client 10.0.0.5 (absolute sequence numbers)' \
    'No. Source           Destination      Flags     Seq   Ack' \
    '1   10.0.0.5:51544   10.0.0.80:443    SYN       1000  -
2   10.0.0.80:443    10.0.0.5:51544   SYN, ACK  7000  ?
3   10.0.0.5:51544   10.0.0.80:443    ACK       1001  7001'

# ------------------------------------------------------ NAT translations
table exhibit-nat-table.gif 560 230 \
    'Edge router - address translation table' \
    'Proto Private addr:port   Public addr:port  Remote addr:port' \
    'tcp   192.168.1.10:50001  203.0.113.5:1024  198.51.100.7:443
tcp   192.168.1.11:50001  203.0.113.5:1025  198.51.100.7:443
udp   192.168.1.12:53211  203.0.113.5:1026  192.0.2.53:53
tcp   192.168.1.10:50002  203.0.113.5:1027  198.51.100.9:80

Inside network: 192.168.1.0/24
Outside interface address of the router: 203.0.113.5'

# ----------------------------------------------------------- routing table
table exhibit-routing-table.gif 520 250 \
    'Routing table of router R1' \
    'Destination      Next hop       Interface  Source' \
    '0.0.0.0/0        203.0.113.1    WAN        static
10.10.0.0/16     10.255.0.2     LINK1      OSPF
10.10.4.0/22     10.255.0.6     LINK2      OSPF
10.10.5.0/24     10.255.0.10    LINK3      static
10.255.0.0/30    -              LINK1      connected
10.255.0.4/30    -              LINK2      connected
10.255.0.8/30    -              LINK3      connected
203.0.113.0/30   -              WAN        connected'

# ------------------------------------------------------- ACL rule list
table exhibit-acl-rules.gif 560 250 \
    'Rule list LAN-IN (inbound on the LAN interface of the router)' \
    'Rule Action Proto Source           Destination       Port' \
    '10   permit tcp   192.168.1.0/24   any               443
20   deny   tcp   192.168.1.50/32  any               80
30   permit tcp   192.168.1.0/24   any               80
40   permit udp   192.168.1.0/24   192.168.100.53/32 53
--   deny   ip    any              any               any

Rules are checked from the top; the first match applies.
The last rule is implicit (not shown in the configuration).'

# ------------------------------------------------------- OSPF link costs
start 560 300
polyline '70,146 70,30 450,30 450,146'
line 70 170 270 95
line 270 95 450 170
line 70 170 270 245
line 270 245 450 170
line 270 95 270 245
line 474 170 500 170
for r in '70 170 R1' '270 95 R2' '270 245 R3' '450 170 R4'; do
    read -r cx cy name <<<"$r"
    circle "$cx" "$cy" 24
    ctxt "$cx" $((cy - 9)) 14 "$name" "$BOLD"
done
box 500 155 552 185 "$GREY"
ctxt 526 162 12 'LAN' "$BOLD"
ctxt 520 190 11 '10.4.4.0/24'
ctxt 260 38 15 '30' "$BOLD" "$ACCENT"
txt 148 110 15 '10' "$BOLD" "$ACCENT"
txt 368 110 15 '10' "$BOLD" "$ACCENT"
txt 152 212 15 '5' "$BOLD" "$ACCENT"
txt 372 212 15 '20' "$BOLD" "$ACCENT"
txt 280 160 15 '4' "$BOLD" "$ACCENT"
txt 10 280 11 'Numbers next to the links are OSPF costs. All routers are in one area.'
finish exhibit-ospf-costs.gif

# ------------------------------------------------------ STP bridge IDs
start 560 290
line 270 76 95 200
line 270 76 445 200
line 150 218 390 218
box 215 40 325 76 "$GREY"
ctxt 270 49 14 'SW1' "$BOLD"
box 40 200 150 236 "$GREY"
ctxt 95 209 14 'SW2' "$BOLD"
box 390 200 500 236 "$GREY"
ctxt 445 209 14 'SW3' "$BOLD"
txt 335 42 12 'Priority 32768'
txt 335 60 12 'MAC 00:1a:00:00:00:0a'
txt 40 244 12 'Priority 28672'
txt 40 262 12 'MAC 00:1a:00:00:00:0c'
txt 390 244 12 'Priority 28672'
txt 390 262 12 'MAC 00:1a:00:00:00:0b'
txt 10 10 11 'All links: 1 Gbit/s, equal STP cost'
finish exhibit-stp-bridges.gif

# --------------------------------------------------- VLANs over a trunk
start 560 260
line 185 45 375 45 3
ctxt 280 24 12 '802.1Q trunk' "$BOLD"
ctxt 280 52 12 'Allowed VLANs: 10, 20'
names=('PC-A' 'PC-B' 'PC-E' 'PC-C' 'PC-D' 'PC-F')
vlans=('10' '20' '30' '10' '20' '30')
ips=('192.168.10.11' '192.168.20.12' '192.168.30.15' '192.168.10.13' '192.168.20.14' '192.168.30.16')
xs=(48 140 232 328 420 512)
for i in 0 1 2 3 4 5; do
    if [ "$i" -lt 3 ]; then sx=140; else sx=420; fi
    line "$sx" 62 "${xs[$i]}" 140
done
box 95 28 185 62 "$GREY"
ctxt 140 36 14 'SW1' "$BOLD"
box 375 28 465 62 "$GREY"
ctxt 420 36 14 'SW2' "$BOLD"
for i in 0 1 2 3 4 5; do
    x=${xs[$i]}
    box $((x - 32)) 140 $((x + 32)) 166 "$BLUE"
    ctxt "$x" 145 12 "${names[$i]}" "$BOLD"
    ctxt "$x" 172 12 "VLAN ${vlans[$i]}" "$BOLD" "$ACCENT"
    ctxt "$x" 190 11 "${ips[$i]}"
done
txt 10 226 11 'Host ports are access ports in the VLAN shown. All host masks are /24.'
finish exhibit-vlan-trunk.gif

# ------------------------------------------------ 2.4 GHz channel plan
start 560 250
txt 10 8 13 '2.4 GHz band, 20 MHz channels' "$BOLD" "$ACCENT"
aps=('AP1' 'AP2' 'AP3' 'AP4')
chans=('1' '6' '6' '11')
for i in 0 1 2 3; do
    circle $((95 + i * 125)) 135 82 none "$ACCENT"
done
for i in 0 1 2 3; do
    x=$((95 + i * 125))
    box $((x - 24)) 121 $((x + 24)) 145 "$GREY"
    ctxt "$x" 125 12 "${aps[$i]}" "$BOLD"
    ctxt "$x" 151 13 "Ch ${chans[$i]}" "$BOLD" "$RED"
done
txt 10 228 11 'Circles show the coverage area of each AP.'
finish exhibit-wlan-channels.gif

echo "pictures written to $(pwd)"
