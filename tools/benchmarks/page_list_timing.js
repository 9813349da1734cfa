#!/usr/bin/env node
// Times the station page with a long station list, in Debian's Chromium at the browser control's
// size: the first render (the task that takes the station file and draws the list, laid out) and
// a keystroke in the filter box (the task of the text change, the filtered list laid out). Read
// from the browser's trace: the main thread's time on the processor, and the wall time, which on a
// busy machine also holds the waits for a processor. Prints the median and the slowest of each.
//
//   node tools/benchmarks/page_list_timing.js [stations]      (500 by default)
"use strict";
const os = require("node:os");
const { launch, openStationPage } = require("../support/station_page");

const COUNT = Number(process.argv[2] || 500);
const LOADS = 7;
const QUERIES = ["f", "fm", "fm ", "fm 9", "fm ", "fm", "f", "", "广", "广东", "广", "", "ｆｍ１０", "ｆｍ１", "ｆｍ", "ｆ", ""];

const PROVINCES = ["北京", "上海", "天津", "重庆", "河北", "山西", "辽宁", "吉林", "黑龙江", "江苏", "浙江", "安徽", "福建",
  "江西", "山东", "河南", "湖北", "湖南", "广东", "海南", "四川", "贵州", "云南", "陕西", "甘肃", "青海", "内蒙古", "广西",
  "西藏", "宁夏", "新疆"];
const stationFile = {
  stations: Array.from({ length: COUNT }, (_, i) => ({
    id: `s${i}`, name: `${PROVINCES[i % PROVINCES.length]}${["新闻", "音乐", "交通", "文艺", "经济"][i % 5]}广播 ${i}`,
    frequency: `FM ${(87.5 + (i * 7 % 205) / 10).toFixed(1)}`, region: PROVINCES[i % PROVINCES.length], urls: [`/live/s${i}`],
  })),
};

// Lays the list out inside the task that drew it, so that the task's time holds the layout too,
// and marks that task in the trace. The page parses the station file first thing on its arrival.
function layOutAndMark() {
  const parse = JSON.parse;
  JSON.parse = function () {
    const list = document.getElementById("stations");
    const laidOut = (mark) => () => {
      list.getBoundingClientRect();
      console.timeStamp(mark);
    };
    if (list && !window.marking) {
      window.marking = true;
      new MutationObserver(laidOut("list drawn")).observe(list, { childList: true });
      document.getElementById("search").addEventListener("input", laidOut("list filtered"));
    }
    return parse.apply(this, arguments);
  };
}

// The main thread's tasks that set this mark, in order, as [processor ms, wall ms].
function markedTasks(events, mark) {
  const tasks = events.filter((e) => e.name === "RunTask" && e.ph === "X" && e.tdur !== undefined);
  return events.filter((e) => e.name === "TimeStamp" && e.args.data.message === mark).map((m) =>
    tasks.find((t) => t.tid === m.tid && t.pid === m.pid && t.ts <= m.ts && t.ts + t.dur >= m.ts))
    .filter(Boolean).map((t) => [t.tdur / 1000, t.dur / 1000]);
}

const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
const figures = (list) => `median ${median(list).toFixed(1)} ms, slowest ${Math.max(...list).toFixed(1)} ms`;
const line = (what, tasks) => `${what} (${tasks.length} runs): processor ${figures(tasks.map((t) => t[0]))}; ` +
  `wall ${figures(tasks.map((t) => t[1]))}`;

(async () => {
  const browser = await launch();
  const renders = [], keys = [];
  for (let load = 0; load < LOADS; load++) {
    await browser.startTracing(undefined, { categories: ["devtools.timeline", "disabled-by-default-devtools.timeline"] });
    const page = await openStationPage(browser, stationFile, layOutAndMark);
    await page.focus("#search");
    for (const query of QUERIES) {
      const typed = await page.inputValue("#search");
      // One key per step: a letter added or one taken away.
      if (query.length > typed.length) await page.keyboard.type(query[typed.length]);
      else await page.keyboard.press("Backspace");
    }
    if (load === 0) process.stdout.write(`${COUNT} stations: ${await page.$$eval("#stations li.station", (r) => r.length)} rows listed\n`);
    await page.context().close();
    const events = JSON.parse((await browser.stopTracing()).toString()).traceEvents;
    renders.push(markedTasks(events, "list drawn")[0]);
    keys.push(...markedTasks(events, "list filtered"));
  }
  await browser.close();
  process.stdout.write(`${line("first render", renders)}\n${line("filter keystroke", keys)}\n` +
    `load average ${os.loadavg().map((n) => n.toFixed(1)).join(" ")} on ${os.cpus().length} processors\n`);
})();
