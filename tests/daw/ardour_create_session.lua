-- Run by Ardour's luasession: creates a session with one stereo track holding TandrelMini
-- with the parameters the test names, records silence for the input's length and saves the
-- session.
-- Input through the environment: KIV_LUA_DIR (this folder), KIV_SESSION_DIR, KIV_PLUGIN_TYPE
-- (LXVST or VST3), KIV_FRAMES, KIV_RATE, KIV_PARAMETERS ("index=value,index=value") and
-- KIV_PARAMETER_COUNT.
local dir = os.getenv("KIV_SESSION_DIR")
local kind = os.getenv("KIV_PLUGIN_TYPE")
local frames = tonumber(os.getenv("KIV_FRAMES"))
local rate = tonumber(os.getenv("KIV_RATE"))
local count = tonumber(os.getenv("KIV_PARAMETER_COUNT"))

dofile(os.getenv("KIV_LUA_DIR") .. "/ardour_engine.lua")
kiv_start_engine(rate)
assert(create_session(dir, "tandrel", rate), "no session")

-- The values to expect come from a VST 2.4 instance outside the mixer: the format whose host
-- reads every value from the plug-in itself. It prints its fresh values (the defaults) and,
-- with the test's parameters set, all values again: some parameters follow others (the shape
-- points follow threshold and ratio).
local function print_values(tag, insert)
  for i = 0, count - 1 do
    print(string.format("%s %d %.9g", tag, i, ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, true)))
  end
end
local probe = ARDOUR.LuaAPI.new_plugin(Session, "TandrelMini", ARDOUR.PluginType.LXVST, "")
assert(not probe:isnil(), "TandrelMini (VST 2.4) was not found")
print_values("default", probe:to_insert())
kiv_set_parameters(probe:to_insert(), os.getenv("KIV_PARAMETERS"))
print_values("expected", probe:to_insert())

local tracks = Session:new_audio_track(2, 2, nil, 1, "Audio", ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true)
local track = tracks:front()
local processor = ARDOUR.LuaAPI.new_plugin(Session, "TandrelMini", ARDOUR.PluginType[kind], "")
assert(not processor:isnil(), "TandrelMini was not found")
assert(track:add_processor_by_index(processor, 0, nil, true) == 0, "the plug-in could not be added")
local insert = processor:to_insert()
kiv_set_parameters(insert, os.getenv("KIV_PARAMETERS"))
ARDOUR.LuaAPI.usleep(100000)
print_values("configured", insert)

kiv_record_silence_and_save({track}, frames)
