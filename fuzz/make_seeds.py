#!/usr/bin/env python3
"""Writes the seed responses under seeds/gex and seeds/greek.

The seeds are committed; rerun this only to change them. The output is the
same on every run (fixed random seed), so a rerun shows up in a diff only when
the script changed.
"""
import json
import random
from pathlib import Path

HERE = Path(__file__).resolve().parent
rng = random.Random(20240607)


def sig(value, digits):
    """A float rounded to `digits` significant digits, as the service sends."""
    return float(f"{value:.{digits - 1}e}")


def gex_value():
    return sig(rng.uniform(-4.0e8, 4.0e8) * rng.choice([1, 0.01, 1e-4]), rng.randint(6, 10))


def gex_response(ticker, spot, step, rows, timestamp):
    first = round(spot / step) * step - step * (rows // 2)
    strikes = []
    for i in range(rows):
        strike = first + i * step
        vol, oi = gex_value(), gex_value()
        priors = [sig(vol * rng.uniform(0.6, 1.4), 8) for _ in range(5)]
        strikes.append([strike, vol, oi, priors])
    return {
        "timestamp": timestamp,
        "ticker": ticker,
        "source": "live",
        "spot": sig(spot + rng.uniform(-3, 3), 7),
        "zero_gamma": sig(spot - rng.uniform(5, 60), 8),
        "major_pos_vol": first + step * rng.randrange(rows),
        "major_pos_oi": first + step * rng.randrange(rows),
        "major_neg_vol": first + step * rng.randrange(rows),
        "major_neg_oi": first + step * rng.randrange(rows),
        "strikes": strikes,
        "sum_gex_vol": gex_value(),
        "sum_gex_oi": gex_value(),
        "delta_risk_reversal": sig(rng.uniform(-1, 1), 6),
        "max_priors": [[first + step * rng.randrange(rows), gex_value()] for _ in range(5)],
    }


def greek_response(ticker, spot, step, rows, timestamp):
    first = round(spot / step) * step - step * (rows // 2)
    contracts = []
    for i in range(rows):
        greek = sig(rng.uniform(-2.5e3, 2.5e3), rng.randint(6, 10))
        priors = [sig(greek * rng.uniform(0.5, 1.5), 7) for _ in range(3)]
        contracts.append([first + i * step, sig(rng.uniform(0, 5e4), 7),
                          sig(rng.uniform(-5e4, 0), 7), greek, priors])
    return {
        "timestamp": timestamp,
        "ticker": ticker,
        "spot": sig(spot + rng.uniform(-3, 3), 7),
        "major_positive": first + step * rng.randrange(rows),
        "major_negative": first + step * rng.randrange(rows),
        "major_long_gamma": first + step * rng.randrange(rows),
        "major_short_gamma": first + step * rng.randrange(rows),
        "mini_contracts": contracts,
    }


def compact(value):
    return json.dumps(value, separators=(",", ":"))


def deep(depth):
    return "[" * depth + "1" + "]" * depth


def common_seeds(sample):
    """Envelope cases, the same for both kinds of response."""
    with_error = dict(sample)
    with_error["error"] = "Ticker not available for this package"
    return {
        "invalid_key": compact({"message": "ERROR: Invalid API Key."}),
        "invalid_key_nul": '{"message":"ERROR: Invalid API Key.\\u0000 trailing","timestamp":1}',
        "invalid_key_and_error": compact({"error": "x", "message": "ERROR: Invalid API Key."}),
        "other_message": '{"message":"Endpoint moved","timestamp":1717776000}',
        "error": compact({"error": "Too many requests"}),
        "error_percent": compact({"error": "100%s %d %n done"}),
        "error_beside_timestamp": compact(with_error),
        "error_number": '{"error":404,"timestamp":1717776000}',
        "two_errors": '{"error":{"code":1},"error":"second","timestamp":5}',
        "only_timestamp": '{"timestamp":-17}',
        "timestamp_fraction": '{"timestamp":17.0}',
        "timestamp_exponent": '{"timestamp":1.7e1}',
        "timestamp_too_big": '{"timestamp":2147483648}',
        "timestamp_text": '{"timestamp":"1717776000"}',
        "timestamp_escaped_key": '{"timestamp\\u0000x":5,"time\\u0073tamp":6}',
        "array_root": "[1,2,3]",
        "string_root": '"timestamp"',
        "blank": " \t\r\n",
        "trailing": '{"timestamp":1} x',
        "bom": "\ufeff" + '{"timestamp":1}',
        "huge_number": '{"timestamp":1,"spot":1e400}',
        "deep": '{"timestamp":3,"nested":' + deep(40) + "}",
        "ticker_escapes": '{"timestamp":9,"ticker":"E\\u0053_\\ud83d\\ude00\\u00e9\\"\\\\/\\b\\f\\n\\r\\t\\u0000tail"}',
    }


def write(kind, seeds):
    folder = HERE / "seeds" / kind
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("*.json"):
        old.unlink()
    for name, text in seeds.items():
        (folder / f"{name}.json").write_text(text, encoding="utf-8")


def gex_seeds():
    full = gex_response("ES_SPX", 5800, 5, 30, 1717776000)
    seeds = {
        "full_es_spx": compact(full),
        "spx_pretty": json.dumps(gex_response("SPX", 5795.4, 5, 12, 1717776060), indent=1),
        "ndx": compact(gex_response("NQ_NDX", 20150, 25, 40, 1717776120)),
        "spy": compact(gex_response("SPY", 580.2, 1, 10, 1717776180)),
        "empty_strikes": '{"timestamp":1717776000,"ticker":"SPX","spot":5800,"strikes":[],"max_priors":[]}',
        "prior_of_last_row_largest": compact({
            "timestamp": 7, "strikes": [[5795, 10, -20, [1, 2, 3, 4, 5]], [5800, -30, 5, [1, 2, 900, 4, 5]]]}),
        # Written out by hand: json would print 1e-400 as 0.0.
        "odd_rows": '{"timestamp":1717776000,"zero_gamma":null,"spot":"5800","strikes":['
                    '[],[5800],[5805,1.5],[5810,-2,3],[5815,1,2,[]],[5820,1,2,3],"row",42,null,'
                    '{"0":5825},[5830,"1",true,[1,"x",null,[2],7.5]],'
                    '[5835,1e300,-1e300,[1e-400,-1e39,3.4e38,-0,4.9e-324]]],'
                    '"max_priors":[[5800,12.5],[5805],[],"pair",[5810,1,2],null]}',
        "max_priors_three": compact({"timestamp": 2, "max_priors": [[5800, -1.25e6], [5790, 3e5], [5810, 2]]}),
        "duplicate_keys": '{"timestamp":1,"timestamp":2,"ticker":"A","ticker":"B","strikes":[[1,2,3,[]]],"strikes":[]}',
    }
    seeds.update(common_seeds(full))
    return seeds


def greek_seeds():
    full = greek_response("ES_SPX", 5800, 5, 30, 1717776000)
    seeds = {
        "full_es_spx_gamma": compact(full),
        "spx_delta_pretty": json.dumps(greek_response("SPX", 5795.4, 5, 12, 1717776060), indent=1),
        "ndx": compact(greek_response("NQ_NDX", 20150, 25, 40, 1717776120)),
        "spy": compact(greek_response("SPY", 580.2, 1, 10, 1717776180)),
        "empty_contracts": '{"timestamp":1717776000,"ticker":"SPX","spot":5800,"mini_contracts":[]}',
        "prior_largest": compact({
            "timestamp": 7, "mini_contracts": [[5795, 1e9, -1e9, 10, [1, 2, 3]], [5800, 0, 0, -30, [1, -900, 3]]]}),
        # Written out by hand: json would print 1e-400 as 0.0.
        "odd_rows": '{"timestamp":1717776000,"major_long_gamma":null,"spot":"5800","mini_contracts":['
                    '[],[5800],[5805,1.5],[5810,-2,3],[5815,1,2,3],[5820,1,2,3,[]],[5825,1,2,3,4],'
                    '"row",42,null,{"0":5830},[5835,"1",true,-4,[1,"x",null,[2],7.5]],'
                    '[5840,1e300,-1e300,1e300,[1e-400,-1e39,3.4e38,-0,4.9e-324]]]}',
        "gex_shaped": compact(gex_response("ES_SPX", 5800, 5, 10, 1717776000)),
        "duplicate_keys": '{"timestamp":1,"timestamp":2,"mini_contracts":[[1,2,3,4,[]]],"mini_contracts":[]}',
    }
    seeds.update(common_seeds(full))
    return seeds


if __name__ == "__main__":
    write("gex", gex_seeds())
    write("greek", greek_seeds())
