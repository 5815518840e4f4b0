#!/usr/bin/env python3
"""Makes the seed files of the open-path fuzzer: small MP3 files in the shapes that files from
other programs take (cut short, junk around the frames, broken tags, length headers that lie,
the lower sample rates, free bitrate). Needs sox and lame. Run it from anywhere:

    splitter/fuzz/make_seeds.py            # rewrites splitter/fuzz/seeds/

Each seed's name begins with its shape (the part before the first '-'); the test that opens
every seed groups them by it. The output is the same on every run for the same lame and sox.
"""
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, "seeds")

# Bit rates (kbit/s) by index, and sample rates by index, for MPEG-1 and MPEG-2/2.5 layer III.
BITRATES = {1: [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
            2: [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]}
RATES = {3: [44100, 48000, 32000], 2: [22050, 24000, 16000], 0: [11025, 12000, 8000]}


def frame_length(header):
    """Length of the layer III frame whose 4 header bytes are given; 0 when not a frame."""
    if len(header) < 4 or header[0] != 0xFF or (header[1] & 0xE0) != 0xE0:
        return 0
    version = (header[1] >> 3) & 3
    if version == 1 or ((header[1] >> 1) & 3) != 1:
        return 0
    index, rate_index = header[2] >> 4, (header[2] >> 2) & 3
    if index in (0, 15) or rate_index == 3:
        return 0
    table = 1 if version == 3 else 2
    rate = RATES[version][rate_index]
    padding = (header[2] >> 1) & 1
    factor = 144 if version == 3 else 72
    return factor * BITRATES[table][index] * 1000 // rate + padding


def frames(data):
    """Offsets of the frames of a file that begins with its first frame."""
    offsets, at = [], 0
    while at + 4 <= len(data):
        length = frame_length(data[at:at + 4])
        if length == 0:
            break
        offsets.append(at)
        at += length
    return offsets


def encode(work, name, seconds, rate, lame_args, channels=1):
    wav = os.path.join(work, name + ".wav")
    mp3 = os.path.join(work, name + ".mp3")
    # A tone under noise: the encoder spends bits unevenly, as on music.
    subprocess.run(["sox", "-n", "-r", str(rate), "-c", str(channels), "-b", "16", wav,
                    "synth", str(seconds), "sine", "440", "synth", "pinknoise", "mix",
                    "vol", "0.5"], check=True, stderr=subprocess.DEVNULL)
    subprocess.run(["lame", "--quiet"] + lame_args + [wav, mp3], check=True)
    with open(mp3, "rb") as f:
        return f.read()


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2(body, claimed=None, flags=0, raw_size=None):
    size = raw_size if raw_size is not None else synchsafe(len(body) if claimed is None else claimed)
    return b"ID3\x03\x00" + bytes([flags]) + size + body


def text_frame(frame_id, text):
    payload = b"\x00" + text
    return frame_id + struct.pack(">I", len(payload)) + b"\x00\x00" + payload


def main():
    rng = random.Random(36)
    for tool in ("sox", "lame"):
        if not shutil.which(tool):
            sys.exit(f"make_seeds.py: {tool} is missing")
    if os.path.isdir(SEEDS):
        shutil.rmtree(SEEDS)
    os.makedirs(SEEDS)
    seeds = {}
    with tempfile.TemporaryDirectory() as work:
        # Whole files, one per kind of stream the splitter meets, a little over the second that
        # the window asks for, so that a seed reaches every step of opening.
        long = encode(work, "long", 1.1, 32000, ["-b", "32", "--resample", "32"])
        seeds["whole-mpeg1-cbr"] = long
        seeds["whole-mpeg1-stereo"] = encode(work, "stereo", 1.1, 48000, ["-b", "48", "--resample", "48"],
                                             channels=2)
        seeds["whole-mpeg2-22k"] = encode(work, "mpeg2", 1.1, 22050, ["-b", "8", "--resample", "22.05"])
        seeds["whole-mpeg2-16k"] = encode(work, "mpeg2b", 1.1, 16000, ["-b", "8", "--resample", "16"])
        seeds["whole-mpeg25-11k"] = encode(work, "mpeg25", 1.1, 11025, ["-b", "8", "--resample", "11.025"])
        seeds["whole-mpeg25-8k"] = encode(work, "mpeg25b", 1.1, 8000, ["-b", "8", "--resample", "8"])
        seeds["whole-free-bitrate"] = encode(work, "free", 1.1, 32000,
                                             ["--freeformat", "-b", "40", "--resample", "32"])
        vbr = encode(work, "vbr", 1.1, 32000, ["-V", "9", "--resample", "32"])
        seeds["whole-vbr-xing"] = vbr
        seeds["whole-vbr-no-header"] = encode(work, "vbrnotag", 1.1, 32000, ["-V", "9", "--resample", "32", "-t"])
        # The short file whose every frame boundary is a seed.
        cbr = encode(work, "cbr", 0.4, 32000, ["-b", "32", "--resample", "32"])

        # Cut short: after every whole frame, and in the middle of every frame.
        offsets = frames(cbr)
        ends = offsets[1:] + [len(cbr)]
        for i, (start, end) in enumerate(zip(offsets, ends)):
            seeds[f"truncated-frame{i:02d}-end"] = cbr[:end]
            seeds[f"truncated-frame{i:02d}-mid"] = cbr[:(start + end) // 2]
        # Also within the first header and right after it.
        for cut in (1, 3, 4, 40):
            seeds[f"truncated-at{cut:03d}"] = cbr[:cut]

        # The last frame of a file long enough to be taken, cut short.
        long_offsets = frames(long)
        long_ends = long_offsets[1:] + [len(long)]
        seeds["truncated-long-last-frame-mid"] = long[:(long_offsets[-1] + long_ends[-1]) // 2]
        seeds["truncated-long-last-header"] = long[:long_offsets[-1] + 2]

        # Junk before and between the frames: zeros, text, random bytes and false sync words.
        fake_sync = bytes([0xFF, 0xFB, 0x90, 0x64]) + bytes(20)
        prefixes = {"zeros": bytes(700), "text": b"This is not audio.\n" * 20,
                    "random": bytes(rng.randrange(256) for _ in range(600)),
                    "false-sync": fake_sync * 12, "riff": b"RIFF\x24\x10\x00\x00WAVEfmt "}
        for name, junk in prefixes.items():
            seeds[f"junk-prefix-{name}"] = junk + long
        between = bytearray()
        for i, (start, end) in enumerate(zip(long_offsets, long_ends)):
            between += long[start:end]
            if i % 3 == 1:
                between += bytes(rng.randrange(256) for _ in range(rng.randrange(1, 90)))
        seeds["junk-between-frames"] = bytes(between)
        seeds["junk-between-false-sync"] = long[:long_offsets[4]] + fake_sync * 3 + long[long_offsets[4]:]
        seeds["junk-only-false-sync"] = fake_sync * 30

        # ID3v2 tags whose size is wrong: too large, too small, not synchsafe, with flags that
        # promise an extended header or a footer that is not there.
        body = text_frame(b"TIT2", "제목".encode("utf-8")) + text_frame(b"TPE1", b"Artist") + bytes(64)
        seeds["id3v2-correct"] = id3v2(body) + long
        seeds["id3v2-size-past-end"] = id3v2(body, claimed=0x0FFFFFFF) + long
        seeds["id3v2-size-into-audio"] = id3v2(body, claimed=len(body) + 300) + long
        seeds["id3v2-size-too-small"] = id3v2(body, claimed=10) + long
        seeds["id3v2-size-zero"] = id3v2(body, claimed=0) + long
        seeds["id3v2-size-not-synchsafe"] = id3v2(body, raw_size=b"\xff\xff\xff\xff") + long
        seeds["id3v2-extended-header-missing"] = id3v2(body, flags=0x40) + long
        seeds["id3v2-footer-missing"] = b"ID3\x04\x00\x10" + synchsafe(len(body)) + body + long
        seeds["id3v2-two-tags"] = id3v2(body) + id3v2(body, claimed=len(body) * 4) + long
        seeds["id3v2-frame-size-huge"] = id3v2(b"TIT2\x7f\xff\xff\xff\x00\x00\x00abc" + bytes(40)) + long
        seeds["id3v2-only"] = id3v2(body)
        seeds["id3v1-after-cut-frame"] = long[:long_ends[5] - 30] + b"TAG" + bytes(125)

        # Length headers that claim far more than the file holds.
        vbr_frames = frames(vbr)
        xing_at = vbr.find(b"Xing")
        if xing_at < 0:
            xing_at = vbr.find(b"Info")
        lying = bytearray(vbr)
        lying[xing_at + 8:xing_at + 12] = struct.pack(">I", 50_000_000)  # frames
        lying[xing_at + 12:xing_at + 16] = struct.pack(">I", 0x7FFFFFF0)  # bytes
        seeds["xing-frames-huge"] = bytes(lying)
        zero = bytearray(vbr)
        zero[xing_at + 8:xing_at + 16] = bytes(8)
        seeds["xing-frames-zero"] = bytes(zero)
        seeds["xing-frames-huge-cut"] = bytes(lying[:vbr_frames[3]])
        # A VBRI header (as Fraunhofer encoders write) in place of the Xing one, 32 bytes after
        # the first frame's header, with a table of contents that runs past the frame.
        vbri = bytearray(vbr)
        first_length = frame_length(vbr[vbr_frames[0]:vbr_frames[0] + 4])
        vbri[vbr_frames[0] + 4:vbr_frames[0] + first_length] = bytes(first_length - 4)
        header = b"VBRI" + struct.pack(">HHHIIHHHH", 1, 0x0AE8, 75, 0x7FFFFFF0, 40_000_000, 2000, 1, 2, 1)
        at = vbr_frames[0] + 36
        vbri[at:at + len(header)] = header
        seeds["vbri-frames-huge"] = bytes(vbri)
        small_toc = bytearray(vbri)
        small_toc[at + 18:at + 26] = struct.pack(">HHHH", 3, 1, 4, 0)
        seeds["vbri-toc-zero-frames"] = bytes(small_toc)

        # Nothing, or almost nothing.
        seeds["empty"] = b""
        seeds["tiny-sync"] = b"\xff\xfb"

    for name, data in sorted(seeds.items()):
        with open(os.path.join(SEEDS, name + ".mp3"), "wb") as f:
            f.write(data)
    total = sum(len(d) for d in seeds.values())
    print(f"{len(seeds)} seeds, {total} bytes, in {SEEDS}")


if __name__ == "__main__":
    main()
