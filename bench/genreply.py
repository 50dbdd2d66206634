#!/usr/bin/env python3
"""Replies for the benchmark: N jobs over M channels, and channel guides of K channels.

Writes what a heavy user's program folder and the simulator need for one case:

  genreply.py jobs N M DIR    DIR/scenario.json (the simulator answers getjobs with N jobs),
                              DIR/dbchannel.dat (all M channels mapped to a number),
                              DIR/reply.txt (the getjobs reply as the service sends it, for
                              the floor program)
  genreply.py guide K M DIR   DIR/scenario.json (channelguide with K channels),
                              DIR/kovquibcg.dat (the guide as a download saves it),
                              DIR/dbchannel.dat (the first M of them mapped)
  genreply.py vdrchannels M FILE
                              a VDR channels.conf of M channels, numbered 1 to M

`jobs --first-start "YYYY-MM-DD HH:MM"` moves the first job (UTC); a VDR drops one-off timers
that lie in the past, so its case starts the jobs tomorrow.

The records are made the same way every time, so runs compare. Python standard library only.
"""
import argparse
import datetime
import json
import os
import sys

CRLF = "\r\n"
ACCOUNT = "bench"
PASSWORD = "bench-password"
SERIAL = 4711
JOB_FIELDS = ("channel,channelid,uid,starttime,endtime,action,title,pg,quality,sequence,"
              "priority,protection,nature,format,vps,description,persons")
GUIDE_FIELDS = "isocode,name,id,country,category,language"
FIRST_START = datetime.datetime(2027, 1, 4, 6, 0, 0)
NATURES = ("news", "film", "sport", "music", "talk", "documentary")
COUNTRIES = (("de", "Germany", "German"), ("at", "Austria", "German"),
             ("fr", "France", "French"), ("ch", "Switzerland", "German"))


def channel_name(index):
    """Channel `index` (from 0). Every seventh name carries a character outside ASCII, every
    eleventh a comma, so the code page and the quoting rule take part as in real guides."""
    name = "Bench Channel %05d" % (index + 1)
    if index % 7 == 3:
        name = "T\u00e9l\u00e9 %05d" % (index + 1)
    if index % 11 == 5:
        name += ", Regional"
    return name


def channel_number(index):
    """The tuner number the channel database gives channel `index`: numbers are 1 to 999, so
    large maps share them."""
    return index % 999 + 1


def csv_field(text):
    if any(c in text for c in ',"\r\n'):
        return '"' + text.replace('"', '""') + '"'
    return text


def job_record(index, channels, first_start=FIRST_START):
    """Job `index` (from 0): a recording on channel index mod M, 15 minutes after the one
    before it, 45 minutes long. Title and start make its program name unique."""
    channel = index % channels
    start = first_start + datetime.timedelta(minutes=15 * index)
    end = start + datetime.timedelta(minutes=45)
    stamp = "%Y-%m-%d %H:%M:%S +0000"
    fields = [
        csv_field(channel_name(channel)), str(100 + channel), str(500000 + index),
        start.strftime(stamp), end.strftime(stamp), "rec", "Bench Show %06d" % (index + 1),
        "0", "1", "127" if index % 10 == 0 else "0", "2", str(index % 2),
        NATURES[index % len(NATURES)], "16:9", "",
        csv_field("Episode %d of the benchmark series, with a description" % (index + 1)), "",
    ]
    return ",".join(fields)


def guide_record(index):
    iso, country, language = COUNTRIES[index % len(COUNTRIES)]
    return ",".join([iso, csv_field(channel_name(index)), str(100 + index), country,
                     NATURES[index % len(NATURES)], language])


def document(header, fields, records):
    """The reply body as the simulator sends it: CR LF after every line."""
    return CRLF.join([header, fields] + records) + CRLF


def channel_database(channels):
    lines = []
    for index in range(channels):
        lines.append("%d,%s" % (channel_number(index), csv_field(channel_name(index))))
    return CRLF.join(lines) + CRLF


def scenario(function, records, serial):
    return {
        "accounts": {ACCOUNT: PASSWORD},
        "functions": {
            "gettargetsystems": {"records": ["localhost,Benchmark simulator"]},
            function: {"serial": serial, "records": records},
        },
    }


def write_text(path, text, encoding="cp1252"):
    with open(path, "w", encoding=encoding, newline="") as f:
        f.write(text)


def vdr_channels(channels):
    """A VDR channels.conf: one line per channel, numbered in file order. VDR needs every
    channel id (source, network, transport stream and service id) to be unique, so each
    channel gets a service id of its own; its PIDs stay below 8192. The timers name channels
    by number, so the names need not match the guide's."""
    lines = []
    for n in range(1, channels + 1):
        lines.append("Bench Channel %05d:11836:hC34M2S0:S19.2E:27500:%d=2:%d=deu@3:0:0:%d:1:1101:0"
                     % (n, 1000 + 2 * n, 1001 + 2 * n, 10000 + n))
    return "\n".join(lines) + "\n"


def write_jobs_case(folder, jobs, channels, first_start=FIRST_START):
    os.makedirs(folder, exist_ok=True)
    records = [job_record(i, channels, first_start) for i in range(jobs)]
    write_text(os.path.join(folder, "scenario.json"),
               json.dumps(scenario("getjobs", records, SERIAL)), "utf-8")
    write_text(os.path.join(folder, "dbchannel.dat"), channel_database(channels))
    header = "0,%d,csv,%d" % (SERIAL, jobs)
    write_text(os.path.join(folder, "reply.txt"), document(header, JOB_FIELDS, records))


def write_guide_case(folder, guide, channels):
    os.makedirs(folder, exist_ok=True)
    records = [guide_record(i) for i in range(guide)]
    write_text(os.path.join(folder, "scenario.json"),
               json.dumps(scenario("channelguide", records, 17)), "utf-8")
    header = "0,17,csv,%d" % guide
    # A download saves the reply with one more CR LF after it.
    write_text(os.path.join(folder, "kovquibcg.dat"),
               document(header, GUIDE_FIELDS, records) + CRLF)
    write_text(os.path.join(folder, "dbchannel.dat"), channel_database(min(channels, guide)))


def start_time(text):
    return datetime.datetime.strptime(text, "%Y-%m-%d %H:%M")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="kind", required=True)
    jobs = sub.add_parser("jobs", help="a getjobs reply of N jobs over M channels")
    jobs.add_argument("jobs", type=int)
    jobs.add_argument("channels", type=int)
    jobs.add_argument("folder")
    jobs.add_argument("--first-start", type=start_time, default=FIRST_START,
                      help="start of the first job, UTC, e.g. \"2027-01-04 06:00\"")
    guide = sub.add_parser("guide", help="a channel guide of K channels, M of them mapped")
    guide.add_argument("guide", type=int)
    guide.add_argument("channels", type=int)
    guide.add_argument("folder")
    vdr = sub.add_parser("vdrchannels", help="a VDR channels.conf of M channels")
    vdr.add_argument("channels", type=int)
    vdr.add_argument("file")
    args = parser.parse_args(argv)
    if args.kind == "jobs":
        write_jobs_case(args.folder, args.jobs, max(1, args.channels), args.first_start)
    elif args.kind == "vdrchannels":
        write_text(args.file, vdr_channels(args.channels), "utf-8")
    else:
        write_guide_case(args.folder, args.guide, args.channels)
    return 0


if __name__ == "__main__":
    sys.exit(main())
