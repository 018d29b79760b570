-- Run by Ardour's luasession in a fresh process: opens the saved session, so that Ardour
-- restores TandrelMini from its project file into a new instance, prints the parameter values
-- and the latency Ardour compensates, then resets the parameters to their defaults as
-- Ardour's menu does and prints the values again.
-- Input through the environment: KIV_SESSION_DIR, KIV_RATE, KIV_PARAMETER_COUNT.
local dir = os.getenv("KIV_SESSION_DIR")
local rate = tonumber(os.getenv("KIV_RATE"))
local count = tonumber(os.getenv("KIV_PARAMETER_COUNT"))

local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_driver("50x Speed")
backend:set_device_name("Silence")
backend:set_sample_rate(rate)
backend:set_buffer_size(1024)
assert(AudioEngine:start(false) == 0, "the engine did not start")
assert(load_session(dir, "tandrel"), "the session did not load")

local route = Session:route_by_name("Audio 1")
assert(not route:isnil(), "no track")
local insert = route:nth_plugin(0):to_insert()
assert(not insert:isnil(), "no plug-in on the track")
ARDOUR.LuaAPI.usleep(200000)
for i = 0, count - 1 do
  print(string.format("reopened %d %.9g", i, ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, true)))
end
print(string.format("latency %d %d", insert:signal_latency(), Session:worst_route_latency()))
insert:reset_parameters_to_default()
ARDOUR.LuaAPI.usleep(100000)
for i = 0, count - 1 do
  print(string.format("reset %d %.9g", i, ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, true)))
end
