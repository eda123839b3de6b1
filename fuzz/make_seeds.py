#!/usr/bin/env python3
"""Writes the seed responses of the readers' fuzzers, each under seeds/ in a
folder named after its fuzzer.

The seeds are committed; rerun this only to change them. The output is the
same on every run (fixed random seed), so a rerun shows up in a diff only when
the script changed.
"""
import json
import random
from pathlib import Path

HERE = Path(__file__).resolve().parent
rng = random.Random(20240607)
# The readers' seeds draw from their own source, so adding them left the
# profile seeds as they were.
reader_rng = random.Random(20240606)

# 2024-06-07 13:30 UTC, 09:30 in New York: the market open of the fuzzers' chart's last day.
MARKET_OPEN = 1717767000


def sig(value, digits):
    """A float rounded to `digits` significant digits, as the service sends."""
    return float(f"{value:.{digits - 1}e}")


def majors(first, step, rows, *keys):
    """Levels on strikes of the table, drawn in the order of `keys`."""
    return {key: first + step * rng.randrange(rows) for key in keys}


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
        **majors(first, step, rows, "major_pos_vol", "major_pos_oi", "major_neg_vol", "major_neg_oi"),
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
        **majors(first, step, rows, "major_positive", "major_negative", "major_long_gamma",
                 "major_short_gamma"),
        "mini_contracts": contracts,
    }


def compact(value):
    return json.dumps(value, separators=(",", ":"))


def deep(depth):
    return "[" * depth + "1" + "]" * depth


def common_seeds(sample):
    """Envelope cases, the same for both kinds of response."""
    with_error = dict(sample)
    with_error["error"] = "Ticker not available for this package. " * 9  # cut in the log
    return {
        "invalid_key": compact({"message": "ERROR: Invalid API Key."}),
        "invalid_key_nul": '{"message":"ERROR: Invalid API Key.\\u0000 trailing","timestamp":1}',
        "invalid_key_and_error": compact({"error": "x", "message": "ERROR: Invalid API Key."}),
        "other_message": '{"message":"Endpoint moved","timestamp":1717776000}',
        "error": compact({"error": "Too many requests"}),
        "error_percent": compact({"error": "100%s %d %n done\n\u001b[2J\u0085\u00e9"}),
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


def write(fuzzer, seeds):
    folder = HERE / "seeds" / fuzzer
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("*.json"):
        old.unlink()
    for name, text in seeds.items():
        (folder / f"{name}.json").write_text(text, encoding="utf-8")


def market_seeds(response, full_name, pretty_name):
    """One response per market, and the envelope cases around the first."""
    full = response("ES_SPX", 5800, 5, 30, 1717776000)
    return common_seeds(full) | {
        full_name: compact(full),
        pretty_name: json.dumps(response("SPX", 5795.4, 5, 12, 1717776060), indent=1),
        "ndx": compact(response("NQ_NDX", 20150, 25, 40, 1717776120)),
        "spy": compact(response("SPY", 580.2, 1, 10, 1717776180)),
    }


def gex_seeds():
    return market_seeds(gex_response, "full_es_spx", "spx_pretty") | {
        "empty_strikes": '{"timestamp":1717776000,"ticker":"SPX","spot":5800,"strikes":[],"max_priors":[]}',
        "prior_of_last_row_largest": compact({
            "timestamp": 7, "strikes": [[5795, 10, -20, [1, 2, 3, 4, 5]], [5800, -30, 5, [1, 2, 900, 4, 5]]]}),
        # Written out by hand: json would print 1e-400 as 0.0.
        "odd_rows": '{"timestamp":1717776000,"zero_gamma":null,"spot":"5800","strikes":['
                    '[],[5800],[5805,1.5],[5810,-2,3],[5815,1,2,[]],[5820,1,2,3],"row",42,null,'
                    '{"0":5825},[5830,"1",true,[1,"x",null,[2],7.5]],'
                    '[5835,1e300,-1e300,[1e-400,-1e39,3.4e38,-0,4.9e-324]],[5840,1,2,[1,2,3,4,5,9e9]]],'
                    '"max_priors":[[5800,12.5],[5805],[],"pair",[5810,1,2],null]}',
        "max_priors_three": compact({"timestamp": 2, "max_priors": [[5800, -1.25e6], [5790, 3e5], [5810, 2]]}),
        "duplicate_keys": '{"timestamp":1,"timestamp":2,"ticker":"A","ticker":"B","strikes":[[1,2,3,[]]],"strikes":[]}',
    }


def greek_seeds():
    return market_seeds(greek_response, "full_es_spx_gamma", "spx_delta_pretty") | {
        "empty_contracts": '{"timestamp":1717776000,"ticker":"SPX","spot":5800,"mini_contracts":[]}',
        "prior_largest": compact({
            "timestamp": 7, "mini_contracts": [[5795, 1e9, -1e9, 10, [1, 2, 3]], [5800, 0, 0, -30, [1, -900, 3]]]}),
        # Written out by hand: json would print 1e-400 as 0.0.
        "odd_rows": '{"timestamp":1717776000,"major_long_gamma":null,"spot":"5800","mini_contracts":['
                    '[],[5800],[5805,1.5],[5810,-2,3],[5815,1,2,3],[5820,1,2,3,[]],[5825,1,2,3,4],'
                    '"row",42,null,{"0":5830},[5835,"1",true,-4,[1,"x",null,[2],7.5]],'
                    '[5840,1e300,-1e300,1e300,[1e-400,-1e39,3.4e38,-0,4.9e-324]],[5845,1,2,3,[1,2,3,9e9]]]}',
        "gex_shaped": compact(gex_response("ES_SPX", 5800, 5, 10, 1717776000)),
        "duplicate_keys": '{"timestamp":1,"timestamp":2,"mini_contracts":[[1,2,3,4,[]]],"mini_contracts":[]}',
    }


def futures_seeds():
    return {
        "es": compact({"future_contract": "ESZ5", "multiplier": 1.0, "additive": 35.5}),
        "nq_pretty": json.dumps({"ticker": "NDX", "future_contract": "NQZ5", "multiplier": 1.0,
                                 "additive": 148.25, "as_of": MARKET_OPEN}, indent=2),
        "ratio": compact({"future_contract": "MESZ5", "multiplier": 1.000812, "additive": 0}),
        "negative": compact({"multiplier": -2, "additive": -12.25}),
        "multiplier_zero": '{"multiplier":0}',
        "zeros_signed": '{"multiplier":-0.0,"additive":-0}',
        "empty_object": "{}",
        "error": compact({"error": "Unknown futures contract", "multiplier": 2, "additive": 3}),
        "error_percent": compact({"error": "100%s %d %n done"}),
        "error_number": '{"error":5,"multiplier":2}',
        "two_errors": '{"error":{"code":1},"error":"second","multiplier":3}',
        "message": compact({"message": "ERROR: Invalid API Key."}),
        "texts_for_numbers": '{"multiplier":"1.5","additive":"2","future_contract":5}',
        "contract_escapes": '{"future_contract":"ES\\u0000Z5 %s\\u00e9","multiplier":1}',
        "huge": '{"multiplier":1e300,"additive":-1e300}',
        "beyond_double": '{"multiplier":1e400}',
        "tiny": '{"multiplier":1e-400,"additive":4.9e-324}',
        "int64_edges": '{"multiplier":18446744073709551615,"additive":-9223372036854775808}',
        "duplicate_keys": '{"multiplier":2,"multiplier":3,"additive":1,"additive":"x"}',
        "lone_low_surrogate": '{"future_contract":"\\udc00","multiplier":2}',
        "array_root": '[{"multiplier":2}]',
        "number_root": "42",
        "not_json": "EMPTY_RESPONSE",
        "blank": " \t\r\n",
        "trailing": '{"multiplier":2} x',
        "bom": "\ufeff" + '{"multiplier":2}',
        # The reader's nesting bound is 512: the last depth it takes, and the first it refuses.
        **{name: '{"multiplier":2,"nested":' + deep(depth) + "}" for name, depth in
           [("deep", 40), ("depth_at_limit", 511), ("depth_past_limit", 512), ("deeper_than_limit", 600)]},
    }


def snapshot(timestamp, spot):
    """One snapshot of the three levels around `spot`, as the service sends."""
    return {
        "timestamp": timestamp,
        "major_call_gamma": round(spot / 5) * 5 + 5 * reader_rng.randint(1, 8),
        "major_put_gamma": round(spot / 5) * 5 - 5 * reader_rng.randint(1, 8),
        "zero_gamma": sig(spot - reader_rng.uniform(-20, 40), 8),
        "spot": sig(spot, 7),
    }


def market_hours(minutes, step):
    spot = 5350.0
    snapshots = []
    for minute in range(0, minutes, step):
        spot += reader_rng.uniform(-2, 2)
        snapshots.append(snapshot(MARKET_OPEN + 60 * minute, spot))
    return snapshots


def history_seeds():
    day = market_hours(390, 5)
    shuffled = list(day)
    reader_rng.shuffle(shuffled)
    at = MARKET_OPEN + 60 * 10
    return {
        "trading_day": compact(day),
        "trading_day_shuffled": compact(shuffled),
        "every_minute_pretty": json.dumps(market_hours(30, 1), indent=1),
        "same_bar_twice": compact([{"timestamp": at, "zero_gamma": 5300, "major_call_gamma": 5400},
                                   {"timestamp": at + 30, "zero_gamma": 5310},
                                   {"timestamp": at + 59, "major_put_gamma": 5250,
                                    "zero_gamma": None}]),
        # Before the first bar, in the night between the two days, after the last bar.
        "outside_market_hours": compact([{"timestamp": at, "zero_gamma": level} for level, at in
                                         enumerate([1717605000, 1717722000, 1717800000, 0, -1], 1)]),
        "odd_elements": '[1,null,{},[],"x",true,{"timestamp":"1717767000","zero_gamma":1},'
                        '{"timestamp":1717767060,"zero_gamma":"5300","major_call_gamma":[5400],'
                        '"major_put_gamma":{"v":1}},{"timestamp":1717767120,"zero_gamma":null,'
                        '"major_call_gamma":5400},[{"timestamp":1717767180,"zero_gamma":9}]]',
        "timestamp_fraction_exponent": '[{"timestamp":1717767060.0,"zero_gamma":1},'
                                       '{"timestamp":1.71776712e9,"zero_gamma":2},'
                                       '{"timestamp":1717767180,"zero_gamma":3}]',
        "huge_numbers": '[{"timestamp":9223372036854775807,"zero_gamma":1},'
                        '{"timestamp":-9223372036854775808,"zero_gamma":2},'
                        '{"timestamp":9223372036854775808,"zero_gamma":3},'
                        '{"timestamp":1717767240,"major_call_gamma":1e300,"major_put_gamma":-1e300,'
                        '"zero_gamma":3.4e38},{"timestamp":1717767300,"major_call_gamma":1e-400,'
                        '"major_put_gamma":-0,"zero_gamma":4.9e-324}]',
        "duplicate_keys": '[{"timestamp":1717767360,"timestamp":1717767420,'
                          '"zero_gamma":1,"zero_gamma":2}]',
        "escaped_keys": '[{"timestamp":1717767480,"zero_gamma\\u0000x":1,"zero\\u005fgamma":2,'
                        '"Zero_Gamma":3}]',
        "message": compact({"message": "No history for this ticker", "error": "not shown"}),
        "error": compact({"message": 5, "error": "Too many requests"}),
        "message_percent": compact({"message": "%s%n%d"}),
        "neither": compact({"detail": "nothing usable"}),
        "lone_snapshot": compact({"timestamp": MARKET_OPEN, "zero_gamma": 5300}),
        "timestamp_text": '{"timestamp":"x","message":"ignored"}',
        "empty_object": "{}",
        "empty_array": "[]",
        "number_root": "42",
        "not_json": "EMPTY_RESPONSE",
        "request_error": "HTTP_REQUEST_ERROR",
        "blank": " \t\r\n",
        "trailing": '[] x',
        # As for the futures conversion, either side of the nesting bound.
        **{name: f'[{{"timestamp":{at},"zero_gamma":{level},"x":' + deep(depth) + "}]" for name, at, level, depth in
           [("deep", 1717767540, 7, 40), ("depth_at_limit", 1717767660, 9, 510),
            ("depth_past_limit", 1717767720, 10, 511), ("deeper_than_limit", 1717767600, 8, 600)]},
    }


if __name__ == "__main__":
    for fuzzer, seeds in [("gex_profile", gex_seeds), ("greek_profile", greek_seeds),
                          ("futures_conversion", futures_seeds), ("majors_history", history_seeds)]:
        write(fuzzer, seeds())
