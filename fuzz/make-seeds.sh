#!/usr/bin/env bash
# Regenerates the seed files in fuzz/seeds: the golden picture encoded by cjpeg
# (Debian package libjpeg-turbo-progs) with options the golden files do not use,
# and files with a JFIF thumbnail built byte by byte. The fuzz runs also start
# from tests/golden/*.jpg and samples/sample.jpg. The files are committed because
# cjpeg's output is only stable for one libjpeg-turbo version (2.1.5 here).
set -euo pipefail
cd "$(dirname "$0")"
golden=../tests/golden
image=$(mktemp)
trap 'rm -f "$image"' EXIT
djpeg -pnm "$golden/baseline.jpg" > "$image"

encode() {  # encode NAME cjpeg-options...
  local name=$1
  shift
  cjpeg "$@" "$image" > "seeds/$name.jpg"
}

encode sample-444 -sample 1x1
encode sample-h2v2-smooth -sample 2x2 -smooth 30
encode restart-blocks -restart 4B -optimize
encode progressive-arithmetic -progressive -arithmetic
encode rgb -rgb
encode float-q100 -dct float -quality 100
encode grayscale-progressive -grayscale -progressive
# A COM segment from wrjpgcom, between the APP0 and the first DQT.
wrjpgcom -comment "Vellumark seed" "$golden/baseline.jpg" > seeds/comment.jpg

# cjpeg writes SOI and a 16-byte JFIF APP0 (no thumbnail) in its first 20 bytes;
# the rest of the file follows these hand-made heads.
rest_of_baseline() { tail -c +21 "$golden/baseline.jpg"; }
jfif_fixed='JFIF\x00\x01\x01\x00\x00\x01\x00\x01'  # identifier, version 1.1, no units, density 1:1

{
  printf '\xFF\xD8'                        # SOI
  printf '\xFF\xE0\x00\x16'                # APP0, length 22 = 16 fixed + 6 pixel bytes
  printf "$jfif_fixed"
  printf '\x02\x01'                        # thumbnail 2 x 1
  printf '\xFF\x00\x00\x00\x00\xFF'        # red, blue
  rest_of_baseline
} > seeds/thumbnail-2x1.jpg

{
  printf '\xFF\xD8'                        # SOI
  printf '\xFF\xE1\x00\x12'                # APP1, length 18, skipped by the search
  printf 'Exif\x00\x00MM\x00\x2A\x00\x00\x00\x08\x00\x00'
  printf '\xFF\xE0\x00\x13'                # APP0, length 19 = 16 fixed + 3 pixel bytes
  printf 'jfif\x00\x01\x02\x01\x00\x48\x00\x48'  # identifier in lower case, 72 dpi
  printf '\x01\x01'                        # thumbnail 1 x 1
  printf '\x80\x80\x80'                    # grey
  rest_of_baseline
} > seeds/thumbnail-lower-case-after-app1.jpg

{
  printf '\xFF\xD8'                        # SOI
  printf '\xFF\xE0\x01\x00'                # APP0, length 256: runs past the end of the file
  printf "$jfif_fixed"
  printf '\x04\x04'                        # thumbnail 4 x 4: 48 pixel bytes declared
  printf '\x11\x22\x33%.0s' 1 2 3 4 5 6 7  # only 21 of them before the file ends
} > seeds/thumbnail-cut-by-end-of-file.jpg

# For the check target: the decoder's paths that the files above do not take.
encode progressive-restart -progressive -restart 2 -sample 2x1
encode restart-rows-h2v2 -restart 1 -sample 2x2 -optimize
# The extended sequential and the progressive process at 12 bits, in the
# header only (Debian's cjpeg writes 8 bits): the data decodes under the wider
# limits of size and category, and damage falls elsewhere.
perl -0777 -pe 's/\xFF\xC0(\x00\x11)\x08/\xFF\xC1${1}\x0C/' "$golden/baseline.jpg" > seeds/sof1-12-bit.jpg
perl -0777 -pe 's/\xFF\xC2(\x00\x11)\x08/\xFF\xC2${1}\x0C/' "$golden/progressive.jpg" > seeds/progressive-12-bit.jpg
# A motion-JPEG frame: no DHT, so the scan takes the standard tables.
perl -0777 -ne '
  print substr($_, 0, 2, "");
  while (/^\xFF([\xC0-\xFE])(..)/s && $1 ne "\xDA") {
    my ($code, $length) = ($1, unpack("n", $2));
    my $segment = substr($_, 0, 2 + $length, "");
    print $segment unless $code eq "\xC4";
  }
  print' "$golden/baseline.jpg" > seeds/no-dht.jpg

# A 65535 x 65535 grey progressive frame, 67 million blocks, in 8 KB: a DC scan
# that stops after a few hundred blocks, then an AC scan and its refinement,
# each all EOB runs of 32767 blocks (symbol E0, code 0, 14 extra bits) and one
# of 2048 (B0, code 110, 11 extra bits). The decoder must pass such runs
# without a step per block, and keep memory only for blocks that were set.
perl -e '
  my $bits = "";
  sub segment { my ($code, $body) = @_; pack("CCn", 0xFF, $code, 2 + length $body) . $body }
  sub scan {    # scan Ss Se AhAl: one component, tables 0
    segment(0xDA, pack("CCCCCC", 1, 1, 0x00, $_[0], $_[1], $_[2]));
  }
  sub stuffed { my $data = pack("B*", $_[0] . "1" x ((8 - length($_[0]) % 8) % 8)); $data =~ s/\xFF/\xFF\x00/g; $data }
  my $runs = ("0" . "1" x 14) x 2048 . "110" . "0" x 11;
  print "\xFF\xD8",
    segment(0xDB, "\x00" . "\x01" x 64),
    segment(0xC2, pack("CnnC", 8, 65535, 65535, 1) . "\x01\x11\x00"),
    segment(0xC4, "\x00" . pack("C16", 1, (0) x 15) . "\x00"),
    segment(0xC4, "\x10" . pack("C16", 1, 1, 1, (0) x 13) . "\xE0\x00\xB0"),
    scan(0, 0, 0x00), "\x00" x 100,
    scan(1, 63, 0x01), stuffed($runs),
    scan(1, 63, 0x10), stuffed($runs),
    "\xFF\xD9";
' > seeds/progressive-65535-eob-runs.jpg

# Pictures inside pictures. images-phone.jpg: an Exif thumbnail (IFD1), an XMP
# container directory naming a gain map and a motion photo's video, an MPF
# index naming the gain map, then the gain map and the video after EOI.
# images-jfxx.jpg: JFXX thumbnails as a JPEG and as RGB pixels, then a JPEG
# and unknown bytes after EOI that nothing declares.
perl -e '
  sub slurp { local $/; open(my $f, "<", $_[0]) or die; binmode $f; <$f> }
  sub segment { my ($code, $body) = @_; pack("CCn", 0xFF, $code, 2 + length $body) . $body }
  my ($primary, $thumbnail, $gain) = map { slurp("../tests/golden/$_.jpg") } qw(baseline grayscale progressive);
  my $video = pack("N", 16) . "ftypmp42" . pack("N", 0) . pack("N", 48) . "mdat" . "Z" x 40;
  my $exif = segment(0xE1, "Exif\0\0" . "II*\0" . pack("V", 8) . pack("vV", 0, 14)
    . pack("v", 2) . pack("vvVV", 0x201, 4, 1, 44) . pack("vvVV", 0x202, 4, 1, length $thumbnail) . pack("V", 0)
    . $thumbnail);
  my $xmp = segment(0xE1, "http://ns.adobe.com/xap/1.0/\0"
    . "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
    . "<rdf:Description xmlns:Container=\"http://ns.google.com/photos/1.0/container/\""
    . " xmlns:Item=\"http://ns.google.com/photos/1.0/container/item/\"><Container:Directory><rdf:Seq>"
    . "<rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"Primary\" Item:Mime=\"image/jpeg\"/></rdf:li>"
    . "<rdf:li rdf:parseType=\"Resource\"><Container:Item><Item:Semantic>GainMap</Item:Semantic>"
    . "<Item:Mime>image/jpeg</Item:Mime><Item:Length>" . length($gain) . "</Item:Length></Container:Item></rdf:li>"
    . "<rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"MotionPhoto\" Item:Mime=\"video/mp4\""
    . " Item:Length=\"" . length($video) . "\"/></rdf:li></rdf:Seq></Container:Directory></rdf:Description></rdf:RDF></x:xmpmeta>");
  my $mpf = sub { segment(0xE2, "MPF\0" . "MM\0*" . pack("N", 8) . pack("n", 2) . pack("nnNN", 0xB001, 4, 1, 1)
    . pack("nnNN", 0xB002, 7, 16, 38) . pack("N", 0) . pack("NNNnn", 0, length $gain, $_[0], 0, 0)) };
  my $head = "\xFF\xD8" . $exif . $xmp;
  my $eoiEnd = length($head) + length($mpf->(0)) + length($primary) - 2;
  open(my $out, ">", "seeds/images-phone.jpg") or die;
  binmode $out;
  print $out $head, $mpf->($eoiEnd - (length($head) + 8)), substr($primary, 2), $gain, $video;
  open($out, ">", "seeds/images-jfxx.jpg") or die;
  binmode $out;
  print $out "\xFF\xD8", segment(0xE0, "JFXX\0\x10" . $thumbnail), segment(0xE0, "JFXX\0\x13\x02\x01" . "\x80" x 6),
    substr($primary, 2), $thumbnail, "trailing";
'
